// The W2 link: receiving a dump from the W2, sending one to it, checking what it holds, the
// MIDI set-up, and the backups of everything that came from it.
#pragma once

#include "host.h"
#include "pane.h"
#include "receive_run.h"
#include "settings.h"

#include "backups.h"

#include "receive_session.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel::ui {

class FileTool;

// The most backups the Open menu lists; "Show all backups..." shows the rest.
inline constexpr std::size_t kBackupsInMenu = 20;

class W2Link {
  public:
    W2Link(Desk& desk, Prompts& prompts, W2Services& services, FileTool& files)
        : desk_(desk), prompts_(prompts), services_(services), files_(files) {}

    void Start(SettingsStore& settings) { midi_ = ReadMidiSettings(settings); }
    void End(SettingsStore& settings) const { WriteMidiSettings(settings, midi_); }

    void OnReceive(int pane);
    // Sends the pane's dump; once every message is out, offers to check what the W2 holds.
    void OnSend(int pane);
    // Receives what the W2 holds and says which of the pane's messages did not come back as
    // they are here; the pane stays as it was.
    void OnCheck(int pane);
    // True when the set-up was confirmed, false when it was cancelled.
    bool OnMidiSetup();

    // The backups of the pane's Open menu: the newest first, each compared with the one before
    // it under the pane's layout.
    BackupList BackupsMenu(int pane) const;
    // A backup chosen there opens in the pane as Open does.
    void OnOpenBackup(int pane, const std::string& path);
    // "Show all backups...": the folder in the system's file manager.
    void OnShowAllBackups();

    const MidiSettings& midiSettings() const { return midi_; }

  private:
    // Writes what a receive kept to the backup folder; the path, or "" after saying why not.
    // `inPane`: what came also stands in a pane, from where it can be saved.
    std::string BackUpReceived(const midi::ReceiveSession& session, const std::string& stamp,
                               bool inPane);
    struct Received {
        const midi::ReceiveSession& session;
        std::string stamp;   // when it came, as "2026-12-08 21-05-33"
        std::string backup;  // where all that came is kept; empty when it could not be
    };
    // The receive dialog on `run`, then the backup of what came; nullopt when nothing came.
    std::optional<Received> ReceiveFromW2(ReceiveRun& run, ReceivePurpose purpose);
    ReceiveRun NewRun();
    // Before a send: what the W2 holds, received into the backups. The backup's path, or ""
    // when the user chose to send without one; nothing when the send is called off (a
    // cancelled backup calls it off, whatever had come).
    std::optional<std::string> BackUpBeforeSend();

    Desk& desk_;
    Prompts& prompts_;
    W2Services& services_;
    FileTool& files_;
    MidiSettings midi_;
};

}  // namespace korvel::ui

// The W2 link: receiving a dump from the W2, sending one to it, checking what it holds, the
// MIDI set-up, and the backups of everything that came from it.
#pragma once

#include "host.h"
#include "pane.h"
#include "receive_run.h"
#include "settings.h"

#include "receive_session.h"

#include <optional>
#include <string>

namespace korvel::ui {

class FileTool;

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
    void OnMidiSetup();

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

    Desk& desk_;
    Prompts& prompts_;
    W2Services& services_;
    FileTool& files_;
    MidiSettings midi_;
};

}  // namespace korvel::ui

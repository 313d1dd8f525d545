// Drives the window's commands through a host whose every answer comes from the input, and feeds
// the settings reader and korvel-cli's argument parser. After each command the pane's tree must
// have the shape of its image, and refreshing it settles at once.
#include "dump_image.h"

#include "dump_tree.h"
#include "host.h"
#include "ini_file.h"
#include "workbench.h"
#include "receive_run.h"
#include "send_session.h"

#include "fake_midi.h"

#include "options.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace ui = korvel::ui;
namespace midi = korvel::midi;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Reads the input front to back; past its end every read is zero.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string Bytes(std::size_t count) {
        count = std::min(count, size_ - std::min(at_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + at_), count);
        at_ += count;
        return text;
    }
    std::string Rest() { return Bytes(size_); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// The files a session opens and saves live in memory where the system has a folder there:
// a save syncs every file it writes, and on a disk that is most of a session's time.
const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = std::filesystem::is_directory("/dev/shm")
                                  ? "/dev/shm/korvel-session-fuzz-XXXXXX"
                                  : "/tmp/korvel-session-fuzz-XXXXXX";
        Require(::mkdtemp(pattern.data()) != nullptr);
        return pattern;
    }();
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
}

class FuzzHost : public ui::Host {
  public:
    explicit FuzzHost(Input& input) : input_(input) {}

    std::optional<std::string> ChooseOpenFile(int pane, const std::string&) override {
        if (input_.Byte() % 8 == 0) {
            return std::nullopt;
        }
        const std::string path = Folder() + "/open" + std::to_string(pane) + ".syx";
        const std::size_t length = input_.Byte() | std::size_t{input_.Byte()} << 8;
        WriteFile(path, input_.Bytes(length));
        WriteFile(Folder() + "/open" + std::to_string(pane) + ".bnl", input_.Bytes(input_.Byte()));
        return path;
    }
    std::optional<std::string> ChooseSaveFile(int, const std::string&,
                                              const std::string&) override {
        static const char* const names[] = {"saved.syx", "saved.bnl", "missing/x.syx", "."};
        const std::uint8_t choice = input_.Byte();
        if (choice % 5 == 4) {
            return std::nullopt;
        }
        return Folder() + "/" + names[choice % 5];
    }
    void ShowMessage(const std::string&, const std::string&, ui::Severity) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return input_.Byte() & 1; }
    std::optional<int> RunLayoutDialog(int) override {
        const int choice = input_.Byte() % 5;
        return choice == 4 ? std::nullopt : std::optional<int>(choice - 1);
    }
    void ShowAbout() override {}
    std::optional<ui::RenameAnswer> RunRenameDialog(const std::string&) override {
        if (input_.Byte() % 4 == 0) {
            return std::nullopt;
        }
        return ui::RenameAnswer{input_.Bytes(input_.Byte() % 40)};
    }
    std::optional<ui::ItemTag> SelectedTag(int) override {
        static constexpr int kinds[] = {ui::kBankKind, ui::kPlaylistKind, ui::kTrackKind,
                                        ui::kPatternKind};
        const std::uint8_t a = input_.Byte();
        const std::uint8_t b = input_.Byte();
        if (a % 5 == 4) {
            return std::nullopt;
        }
        return ui::MakeItemTag(kinds[a % 5], a >> 4, b >> 4, b);
    }
    void ShowStatus(const std::string&) override {}
    void ShowFileName(int, const std::string&) override {}
    void ShowUnsaved(int, bool) override {}
    void TreeRebuilt(int) override {}
    void TreeRefreshed(int, const std::vector<ui::NodeChange>&) override {}
    void HistoryChanged(int) override {}
    void ComparingChanged(bool) override {}
    void SelectNode(int, const ui::NodePath&) override {}
    bool AskToProceed(const std::string&, const std::string&, const std::string&,
                      const std::string&) override {
        return input_.Byte() & 1;
    }
    std::optional<bool> AskToProceedWith(const std::string&, const std::string&, const std::string&,
                                         const std::string&, const std::string&, bool) override {
        const std::uint8_t answer = input_.Byte();
        return answer & 1 ? std::optional<bool>((answer & 2) != 0) : std::nullopt;
    }
    midi::MidiSystem& Midi() override { return midi_; }
    midi::Clock& MidiClock() override { return clock_; }
    // The W2 sends what the input says, in pieces, then falls silent.
    void RunReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList&, const std::string&,
                          ui::ReceivePurpose) override {
        if (run.Listen("W2") || input_.Byte() % 8 == 0) {
            run.Cancel();
            return;
        }
        while (!run.HasEnded() && !input_.AtEnd()) {
            const std::string piece = input_.Bytes(input_.Byte());
            midi_.inputs["W2"]->pieces.emplace_back(piece.begin(), piece.end());
            run.Poll();
            clock_.Advance(std::chrono::milliseconds(input_.Byte() * 20));
            run.Poll();
        }
        run.Finish();
    }
    void RunSendDialog(midi::SendSession& session, const std::string&) override {
        midi::testing::RunSend(session, clock_, [this] { return input_.Byte() % 16 == 0; });
    }
    std::optional<ui::MidiSettings> RunMidiSetup(const ui::MidiSettings&,
                                                 const midi::MidiPortList&) override {
        return ui::MidiSettings{"W2", input_.Byte() & 1 ? "W2" : "", input_.Byte() % 3, 100};
    }
    std::string ReceivedFolder() override { return Folder() + "/received"; }
    std::string LocalTimeStamp() override { return "2026-12-08 21-05-33"; }
    bool ShowFolder(const std::string&) override { return true; }

  private:
    Input& input_;
    midi::testing::FakeClock clock_;
    midi::testing::FakeMidiSystem midi_ = [this] {
        midi::testing::FakeMidiSystem midi;
        midi.AddInput("W2");
        midi.AddOutput("W2", clock_);
        return midi;
    }();
};

// Each tree has its image's shape and its icons, and while comparing every node carries the
// mark a comparison of the images as they stand gives it.
void RequireTreesMatchImages(const ui::Workbench& dialog) {
    const std::optional<korvel::Comparison> now =
        dialog.Compare().IsComparing()
            ? std::optional(korvel::Comparison::Of(dialog.image(0), dialog.image(1)))
            : std::nullopt;
    for (int p = 0; p < 2; ++p) {
        const korvel::DumpImage& image = dialog.image(p);
        const std::size_t banks = static_cast<std::size_t>(image.BankCount());
        const std::size_t tracks = banks * korvel::kTracksPerBank;
        ui::Forest tree = dialog.tree(p);
        Require(ui::CountNodes(tree) ==
                banks * 2 + tracks + tracks * static_cast<std::size_t>(image.PatternsPerTrack()));
        std::optional<korvel::ComparedSide> side;
        if (now) {
            side.emplace(korvel::ComparedSide{*now, p, dialog.image(1 - p).Layout()});
        }
        const korvel::ComparedSide* compared = side ? &*side : nullptr;
        // Only texts may change: a rebuilt tree shows names after its first refresh.
        for (const ui::NodeChange& change :
             ui::Refresh(image, tree, ui::TextRule::keepShown, compared)) {
            Require(!change.mark && !change.icon);
        }
    }
}

void RunSession(Input& input) {
    FuzzHost host(input);
    ui::Workbench dialog(host);
    ui::IniFile settings;
    dialog.Start(settings);
    for (int step = 0; step < 64 && !input.AtEnd(); ++step) {
        const int pane = input.Byte() & 1;
        // Every command of the window's table, as a user would pick it.
        const auto commands = ui::Commands();
        dialog.Run(commands[input.Byte() % commands.size()].id, pane);
        // Checked now and then rather than after every command: it costs more than most
        // commands, and a tree that went wrong stays wrong until the pane is rebuilt.
        if (step % 8 == 7) {
            RequireTreesMatchImages(dialog);
        }
    }
    RequireTreesMatchImages(dialog);
    (void)dialog.MayEnd();
    dialog.End(settings);
}

void ReadSettings(const std::string& text) {
    ui::IniFile ini;
    ini.Parse(text);
    const ui::PaneSettings read = ui::ReadSettings(ini);
    ui::WriteSettings(ini, read);
    // What was written reads back as written.
    ui::IniFile again;
    again.Parse(ini.Text());
    const ui::PaneSettings reread = ui::ReadSettings(again);
    Require(reread.layoutValues == read.layoutValues);
}

void ParseArguments(const std::string& text) {
    std::vector<std::string> words(1);
    for (const char c : text) {
        if (c == '\0') {
            words.emplace_back();
        } else {
            words.back() += c;
        }
    }
    (void)korvel::cli::ParseOptions(words);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    switch (input.Byte() % 4) {
        case 0:
            ReadSettings(input.Rest());
            break;
        case 1:
            ParseArguments(input.Rest());
            break;
        default:
            RunSession(input);
            break;
    }
    return 0;
}

// What the page calls: the core's commands and what the page reads to draw them. A call marked
// "waits" may ask questions; the page makes it with ccall(..., {async: true}) and one at a time.
#include "ini_file.h"
#include "messages.h"
#include "side_file.h"
#include "workbench.h"

#include "json_text.h"
#include "page.h"
#include "page_json.h"
#include "web_host.h"

#include <emscripten.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <system_error>

namespace korvel::web {

namespace {

// What the site's storage keeps: the files the page opens and saves, and Korvel's data folder
// with the backups.
constexpr const char* kStoredFolder = "/korvel";
constexpr const char* kFilesFolder = "/korvel/files";
constexpr const char* kDataFolder = "/korvel/data";

struct App {
    WebHost host;
    ui::IniFile settings;
    std::unique_ptr<ui::Workbench> bench;
    // Each file of the files folder as last seen: its time and size.
    std::map<std::string, std::pair<std::filesystem::file_time_type, std::uintmax_t>> seen;
};

App& app() {
    static App instance;
    return instance;
}

// The text a call returns stays valid until the next call returns one.
const char* Give(std::string text) {
    static std::string given;
    given = std::move(text);
    return given.c_str();
}

// The files of the files folder written since the last look.
std::string WrittenFiles() {
    namespace fs = std::filesystem;
    std::string written = "[";
    std::error_code error;
    for (fs::recursive_directory_iterator it(kFilesFolder, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error)) {
            continue;
        }
        const std::pair stamp{it->last_write_time(error), it->file_size(error)};
        auto& seen = app().seen[it->path().string()];
        if (seen != stamp) {
            seen = stamp;
            written += (written.size() > 1 ? "," : "") + JsonString(it->path().string());
        }
    }
    return written + "]";
}

// After every command: the settings as the desktop keeps them, and the files it wrote, for
// the page to store and hand on.
void AfterCommand() {
    App& a = app();
    a.bench->End(a.settings);
    SaveStorage();
    Tell(JsonObject()
             .Add("kind", "done")
             .Add("settings", a.settings.Text())
             .AddJson("written", WrittenFiles())
             .Text());
}

std::optional<ui::ItemTag> TagOf(long long tag) {
    return tag < 0 ? std::nullopt : std::optional(static_cast<ui::ItemTag>(tag));
}

ui::Drag DragOf(int fromPane, const char* files) {
    ui::Drag drag;
    if (fromPane >= 0) {
        drag.fromPane = fromPane;
    }
    std::istringstream lines(files);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            drag.files.push_back(line);
        }
    }
    return drag;
}

}  // namespace

}  // namespace korvel::web

using korvel::web::app;
using korvel::web::Give;

extern "C" {

// Waits.
EMSCRIPTEN_KEEPALIVE void korvel_mount() {
    korvel::web::MountStorage(korvel::web::kStoredFolder);
}

EMSCRIPTEN_KEEPALIVE void korvel_start(const char* iniText) {
    auto& a = app();
    // The data folder, as the desktop finds it through the environment.
    setenv("XDG_DATA_HOME", korvel::web::kDataFolder, 1);
    std::error_code ignored;
    std::filesystem::create_directories(korvel::web::kFilesFolder, ignored);
    (void)korvel::web::WrittenFiles();  // what storage held already is not new
    a.settings.Parse(iniText);
    a.bench = std::make_unique<korvel::ui::Workbench>(a.host);
    a.host.Show(a.bench.get());
    a.bench->Start(a.settings);
    for (const int pane : {korvel::ui::kLeftPane, korvel::ui::kRightPane}) {
        a.host.TreeRebuilt(pane);
        a.host.HistoryChanged(pane);
    }
}

EMSCRIPTEN_KEEPALIVE const char* korvel_commands() {
    return Give(korvel::web::CommandsJson());
}

// Waits.
EMSCRIPTEN_KEEPALIVE void korvel_run(int index, int pane) {
    const auto commands = korvel::ui::Commands();
    if (index < 0 || static_cast<std::size_t>(index) >= commands.size()) {
        return;
    }
    const korvel::ui::Command& command = commands[static_cast<std::size_t>(index)];
    auto& a = app();
    if (korvel::ui::UsesMidi(command.id)) {
        if (const std::string why = a.host.WebMidi().EnsureAccess(); !why.empty()) {
            a.host.ShowMessage(why, korvel::ui::kKorvelCaption, korvel::ui::Severity::notice);
            return;
        }
    }
    a.bench->Run(command.id, pane);
    korvel::web::AfterCommand();
}

EMSCRIPTEN_KEEPALIVE int korvel_applies(int index, double tag) {
    const auto commands = korvel::ui::Commands();
    if (index < 0 || static_cast<std::size_t>(index) >= commands.size()) {
        return 0;
    }
    return korvel::ui::AppliesTo(commands[static_cast<std::size_t>(index)],
                                 static_cast<korvel::ui::ItemTag>(tag))
               ? 1
               : 0;
}

EMSCRIPTEN_KEEPALIVE int korvel_is_changed(int pane) {
    return app().bench->IsChanged(pane) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* korvel_tree(int pane) {
    return Give(korvel::web::ForestJson(app().bench->tree(pane)));
}

EMSCRIPTEN_KEEPALIVE const char* korvel_recent(int pane) {
    return Give(korvel::web::RecentJson(app().bench->Files().RecentMenu(pane)));
}

// Waits.
EMSCRIPTEN_KEEPALIVE void korvel_open_named(int pane, const char* path) {
    app().bench->Files().OnOpenNamed(pane, path);
    korvel::web::AfterCommand();
}

EMSCRIPTEN_KEEPALIVE const char* korvel_backups(int pane) {
    return Give(korvel::web::BackupsJson(app().bench->Link().BackupsMenu(pane)));
}

// Waits.
EMSCRIPTEN_KEEPALIVE void korvel_open_backup(int pane, const char* path) {
    app().bench->Link().OnOpenBackup(pane, path);
    korvel::web::AfterCommand();
}

// Waits.
EMSCRIPTEN_KEEPALIVE void korvel_show_all_backups() {
    app().bench->Link().OnShowAllBackups();
}

EMSCRIPTEN_KEEPALIVE const char* korvel_port_choices(int inputs, const char* remembered) {
    const korvel::midi::MidiPortList ports = app().host.Midi().ListPorts();
    return Give(korvel::web::PortChoicesJson(
        korvel::ui::MakePortChoices(inputs ? ports.inputs : ports.outputs, remembered)));
}

// The page put files there itself (an open, a drop): they are not for handing on.
EMSCRIPTEN_KEEPALIVE void korvel_forget_written() {
    (void)korvel::web::WrittenFiles();
}

// The side file a dump of that path has, so that the page can fetch it along.
EMSCRIPTEN_KEEPALIVE const char* korvel_side_file(const char* dumpPath) {
    return Give(korvel::SideFilePath(dumpPath));
}

// 1: a drop is taken; 3: and the node under the pointer is highlighted.
EMSCRIPTEN_KEEPALIVE int korvel_may_drop(int pane, int fromPane, const char* files, double tag) {
    const korvel::ui::DropAnswer answer =
        app().bench->MayDrop(pane, korvel::web::DragOf(fromPane, files),
                             korvel::web::TagOf(static_cast<long long>(tag)));
    return (answer.accepted ? 1 : 0) | (answer.highlight ? 2 : 0);
}

// Waits.
EMSCRIPTEN_KEEPALIVE void korvel_drop(int pane, int fromPane, const char* files, double tag) {
    app().bench->OnDrop(pane, korvel::web::DragOf(fromPane, files),
                        korvel::web::TagOf(static_cast<long long>(tag)));
    korvel::web::AfterCommand();
}

}  // extern "C"

#include "page.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>

// The page object is handed to the module when it is made: createKorvel({page}).
// clang-format off
EM_JS(char*, korvel_page_tell, (const char* request), {
    const answer = Module.page.tell(JSON.parse(UTF8ToString(request)));
    return allocateUTF8(answer === undefined || answer === null ? "" : String(answer));
});

EM_ASYNC_JS(char*, korvel_page_ask, (const char* request), {
    const answer = await Module.page.ask(JSON.parse(UTF8ToString(request)));
    return allocateUTF8(answer === undefined || answer === null ? "" : String(answer));
});

EM_JS(int, korvel_midi_pending, (int input), {
    return Module.page.midi.pending(input);
});

EM_JS(void, korvel_midi_take, (int input, std::uint8_t* into, int count), {
    HEAPU8.set(Module.page.midi.take(input, count), into);
});

EM_JS(char*, korvel_midi_send, (int output, const std::uint8_t* bytes, int count), {
    const problem = Module.page.midi.send(output, HEAPU8.slice(bytes, bytes + count));
    return allocateUTF8(problem || "");
});
EM_ASYNC_JS(void, korvel_page_mount, (const char* folder), {
    const path = UTF8ToString(folder);
    FS.mkdirTree(path);
    FS.mount(IDBFS, {}, path);
    await new Promise(done => FS.syncfs(true, done));
});

EM_JS(void, korvel_page_save_storage, (), {
    FS.syncfs(false, error => { if (error) Module.page.tell({kind: "storageFailed"}); });
});
// clang-format on

namespace korvel::web {

namespace {

std::string Taken(char* text) {
    const std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
    return owned ? std::string(owned.get()) : std::string();
}

}  // namespace

std::string Tell(const std::string& request) {
    return Taken(korvel_page_tell(request.c_str()));
}

std::string Ask(const std::string& request) {
    return Taken(korvel_page_ask(request.c_str()));
}

void MountStorage(const std::string& folder) {
    korvel_page_mount(folder.c_str());
}

void SaveStorage() {
    korvel_page_save_storage();
}

std::size_t MidiPending(int input) {
    const int pending = korvel_midi_pending(input);
    return pending > 0 ? static_cast<std::size_t>(pending) : 0;
}

void MidiTake(int input, std::uint8_t* into, std::size_t count) {
    korvel_midi_take(input, into, static_cast<int>(count));
}

std::string MidiSend(int output, const std::uint8_t* bytes, std::size_t count) {
    return Taken(korvel_midi_send(output, bytes, static_cast<int>(count)));
}

}  // namespace korvel::web

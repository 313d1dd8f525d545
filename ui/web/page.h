// The page behind the core: every call into the browser's side goes through here. A notice
// returns at once; a question waits, with the core's stack suspended (Asyncify), until the
// page's promise settles, while the page keeps running.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel::web {

// Tells the page something (a JSON object with its "kind"); its answer, "" for most.
std::string Tell(const std::string& request);
// Asks the page and waits for its answer: a dialog's outcome, a chosen file, a tick.
std::string Ask(const std::string& request);

// Keeps `folder` in the site's persistent storage and reads back what it held; waits.
void MountStorage(const std::string& folder);
// Writes what changed in it since to the storage, in the background.
void SaveStorage();

// Web MIDI's ports, by the page's numbers for them.
std::size_t MidiPending(int input);
void MidiTake(int input, std::uint8_t* into, std::size_t count);
std::string MidiSend(int output, const std::uint8_t* bytes, std::size_t count);

}  // namespace korvel::web

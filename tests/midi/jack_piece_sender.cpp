// Plays a MIDI cable for the end-to-end test: sends a file's bytes to a JACK port in pieces of
// at most PIECE bytes, MS milliseconds apart, as a USB interface passes on a long SysEx
// message, so that the receiver sees a message that takes seconds to arrive. With "-" for
// PORT_SUFFIX it plays the W2's MIDI Out instead: its port waits, as client NAME, until a
// reader connects to it, and sends then.
// Usage: jack_piece_sender FILE PORT_SUFFIX PIECE MS [NAME]
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

jack_port_t* output = nullptr;
jack_ringbuffer_t* pending = nullptr;

// Each cycle sends what the main thread has put out since the last one, as one event.
int Process(jack_nframes_t frames, void*) {
    void* buffer = jack_port_get_buffer(output, frames);
    jack_midi_clear_buffer(buffer);
    const std::size_t count = jack_ringbuffer_read_space(pending);
    if (count > 0) {
        if (jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, count)) {
            jack_ringbuffer_read(pending, reinterpret_cast<char*>(event), count);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: jack_piece_sender FILE PORT_SUFFIX PIECE MS [NAME]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    const std::string suffix = argv[2];
    const std::size_t piece = std::strtoul(argv[3], nullptr, 10);
    const auto pause = std::chrono::milliseconds(std::strtol(argv[4], nullptr, 10));

    jack_client_t* client =
        jack_client_open(argc == 6 ? argv[5] : "pieces", JackNoStartServer, nullptr);
    if (client == nullptr) {
        return 1;
    }
    pending = jack_ringbuffer_create(1 << 16);
    output = jack_port_register(client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(client, Process, nullptr);
    jack_activate(client);
    if (suffix == "-") {
        for (int i = 0; i < 600 && jack_port_connected(output) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (jack_port_connected(output) == 0) {
            std::fprintf(stderr, "jack_piece_sender: nobody connected\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
    std::string target;
    for (int i = 0; ports != nullptr && ports[i] != nullptr; ++i) {
        const std::string name = ports[i];
        if (name.size() > suffix.size() && name.ends_with(":" + suffix)) {
            target = name;
        }
    }
    jack_free(ports);
    if (suffix != "-" &&
        (target.empty() || jack_connect(client, jack_port_name(output), target.c_str()) != 0)) {
        std::fprintf(stderr, "jack_piece_sender: no port %s\n", suffix.c_str());
        return 1;
    }
    for (std::size_t at = 0, count = 0; at < bytes.size(); at += count) {
        // A piece ends with the message it holds the end of, as an interface passes each
        // message's last bytes on at once.
        count = std::min(piece, bytes.size() - at);
        for (std::size_t i = 0; i < count; ++i) {
            if (static_cast<unsigned char>(bytes[at + i]) == 0xF7) {
                count = i + 1;
                break;
            }
        }
        while (jack_ringbuffer_write_space(pending) < count) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        jack_ringbuffer_write(pending, bytes.data() + at, count);
        std::this_thread::sleep_for(pause);
    }
    while (jack_ringbuffer_read_space(pending) > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    jack_client_close(client);
    return 0;
}

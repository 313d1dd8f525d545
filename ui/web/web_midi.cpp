#include "web_midi.h"

#include "json_text.h"
#include "open_system.h"
#include "page.h"

#include <limits>
#include <sstream>
#include <vector>

namespace korvel::web {

namespace {

constexpr const char* kNoOwnPortsText = "a browser cannot make MIDI ports of its own";

class WebMidiInput : public midi::MidiInput {
  public:
    explicit WebMidiInput(int id) : id_(id) {}
    ~WebMidiInput() override { Tell(JsonObject().Add("kind", "midiClose").Add("id", id_).Text()); }
    WebMidiInput(const WebMidiInput&) = delete;
    WebMidiInput& operator=(const WebMidiInput&) = delete;

    void TakeBytes(std::vector<std::uint8_t>& into) override {
        const std::size_t pending = MidiPending(id_);
        if (pending == 0) {
            return;
        }
        const std::size_t from = into.size();
        into.resize(from + pending);
        MidiTake(id_, into.data() + from, pending);
    }
    std::string Broken() const override {
        return Tell(JsonObject().Add("kind", "midiBroken").Add("id", id_).Text());
    }

  private:
    int id_;
};

class WebMidiOutput : public midi::MidiOutput {
  public:
    explicit WebMidiOutput(int id) : id_(id) {}
    ~WebMidiOutput() override { Tell(JsonObject().Add("kind", "midiClose").Add("id", id_).Text()); }
    WebMidiOutput(const WebMidiOutput&) = delete;
    WebMidiOutput& operator=(const WebMidiOutput&) = delete;

    // The browser takes a SysEx message of any length in one send.
    std::size_t MaxMessageLength() const override {
        return std::numeric_limits<std::size_t>::max();
    }
    Outcome Send(std::span<const std::uint8_t> message) override {
        const std::string problem = MidiSend(id_, message.data(), message.size());
        return problem.empty() ? Outcome::Success() : Outcome::Failure(problem);
    }
    std::string Broken() const override {
        return Tell(JsonObject().Add("kind", "midiBroken").Add("id", id_).Text());
    }

  private:
    int id_;
};

// The page answers an opening with "#7" for its port number, or with the reason.
template <typename Port, typename Base>
Result<std::unique_ptr<Base>> Opened(const std::string& answer) {
    if (const auto id = answer.starts_with('#') ? NumberIn(answer.substr(1)) : std::nullopt) {
        return std::unique_ptr<Base>(std::make_unique<Port>(static_cast<int>(*id)));
    }
    return Result<std::unique_ptr<Base>>::Failure(answer.empty() ? "the port would not open"
                                                                 : answer);
}

}  // namespace

std::string WebMidiSystem::EnsureAccess() {
    if (granted_) {
        return {};
    }
    const std::string answer = Ask(JsonObject().Add("kind", "midiAccess").Text());
    if (answer == "none") {
        return kNoWebMidiText;
    }
    if (answer == "refused") {
        return kMidiRefusedText;
    }
    granted_ = answer.empty();
    return answer;
}

midi::MidiPortList WebMidiSystem::ListPorts() {
    midi::MidiPortList list;
    if (!granted_) {
        return list;
    }
    // One line for the API, then one per port: "<" an input, ">" an output.
    std::istringstream lines(Tell(JsonObject().Add("kind", "midiPorts").Text()));
    std::getline(lines, list.api);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 1) {
            (line[0] == '<' ? list.inputs : list.outputs).push_back(line.substr(1));
        }
    }
    return list;
}

midi::InputOpening WebMidiSystem::OpenInput(const std::string& port) {
    return Opened<WebMidiInput, midi::MidiInput>(
        Tell(JsonObject().Add("kind", "midiOpenInput").Add("name", port).Text()));
}

midi::OutputOpening WebMidiSystem::OpenOutput(const std::string& port) {
    return Opened<WebMidiOutput, midi::MidiOutput>(
        Tell(JsonObject().Add("kind", "midiOpenOutput").Add("name", port).Text()));
}

midi::InputOpening WebMidiSystem::OpenOwnInput(const std::string&) {
    return midi::InputOpening::Failure(kNoOwnPortsText);
}

midi::OutputOpening WebMidiSystem::OpenOwnOutput(const std::string&) {
    return midi::OutputOpening::Failure(kNoOwnPortsText);
}

}  // namespace korvel::web

namespace korvel::midi {

std::unique_ptr<MidiSystem> OpenSystem(const std::string&) {
    return std::make_unique<web::WebMidiSystem>();
}

}  // namespace korvel::midi

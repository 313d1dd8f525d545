// A clock the test moves by hand, and MIDI ports that deliver scripted bytes and record what
// is sent. A port the test did not set up cannot be opened.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "send_session.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace korvel::midi::testing {

class FakeClock : public Clock {
  public:
    Instant Now() override { return now; }
    void Advance(Duration by) { now += by; }
    Instant now{};
};

// Steps a send to its end on the fake clock, as the progress dialog does on the real one;
// `cancelNow` is asked before every step.
inline void RunSend(SendSession& session, FakeClock& clock,
                    const std::function<bool()>& cancelNow = {}) {
    while (!session.HasEnded()) {
        if (cancelNow && cancelNow()) {
            session.Cancel();
        }
        clock.now = std::max(clock.now, session.Step());
    }
}

class FakeInput : public MidiInput {
  public:
    // What the next TakeBytes calls deliver, one piece each.
    std::deque<std::vector<std::uint8_t>> pieces;
    bool lost = false;   // the system dropped some input
    std::string broken;  // why the port stopped, once it has
    bool HasLostInput() const override { return lost; }
    std::string Broken() const override { return broken; }
    void TakeBytes(std::vector<std::uint8_t>& into) override {
        if (!pieces.empty()) {
            into.insert(into.end(), pieces.front().begin(), pieces.front().end());
            pieces.pop_front();
        }
    }
};

class FakeOutput : public MidiOutput {
  public:
    explicit FakeOutput(FakeClock& clock) : clock_(clock) {}
    std::size_t maxLength = 16379;
    int failAt = -1;             // the message number that fails
    Duration sendTakes{};        // how long the port holds the caller in each Send
    bool holdsUntilOut = false;  // holds it for the message's cable time too, as on Windows
    bool delivered = true;       // all that was sent has left the port
    std::string broken;          // why the port stopped, once it has
    bool HasDelivered() const override { return delivered; }
    std::string Broken() const override { return broken; }
    std::vector<std::vector<std::uint8_t>> sent;
    std::vector<Instant> sentAt;

    std::size_t MaxMessageLength() const override { return maxLength; }
    Outcome Send(std::span<const std::uint8_t> message) override {
        if (static_cast<int>(sent.size()) == failAt) {
            return Outcome::Failure("the cable was pulled");
        }
        sent.emplace_back(message.begin(), message.end());
        sentAt.push_back(clock_.Now());
        clock_.Advance(sendTakes + (holdsUntilOut
                                        ? kCableTimePerByte * static_cast<int>(message.size())
                                        : Duration{}));
        return {};
    }

  private:
    FakeClock& clock_;
};

// Hands out the inputs and outputs the test made; they stay the test's to look at. A port of
// Korvel's own that the test did not make is a loopback, as on JACK and ALSA: it is listed on
// the other side under its name, and what is sent there arrives at it.
class FakeMidiSystem : public MidiSystem {
  public:
    MidiPortList ports{"Fake", {}, {}};
    std::map<std::string, FakeInput*> inputs;
    std::map<std::string, FakeOutput*> outputs;
    std::map<std::string, std::string> refusals;  // a port that will not open, and its reason

    FakeInput& AddInput(const std::string& name) {
        ports.inputs.push_back(name);
        ownedInputs_.push_back(std::make_unique<FakeInput>());
        return *(inputs[name] = ownedInputs_.back().get());
    }
    FakeOutput& AddOutput(const std::string& name, FakeClock& clock) {
        ports.outputs.push_back(name);
        ownedOutputs_.push_back(std::make_unique<FakeOutput>(clock));
        return *(outputs[name] = ownedOutputs_.back().get());
    }

    MidiPortList ListPorts() override { return ports; }
    InputOpening OpenInput(const std::string& port) override {
        return Open<InputOpening, MidiInput>(inputs, port);
    }
    OutputOpening OpenOutput(const std::string& port) override {
        if (const auto loop = loops_.find(port); loop != loops_.end()) {
            return std::unique_ptr<MidiOutput>(std::make_unique<LoopOutput>(*loop->second));
        }
        return Open<OutputOpening, MidiOutput>(outputs, port);
    }
    InputOpening OpenOwnInput(const std::string& port) override {
        if (!inputs.contains(port) && !loops_.contains(port)) {
            ports.outputs.push_back(port);
            ownedInputs_.push_back(std::make_unique<FakeInput>());
            loops_[port] = ownedInputs_.back().get();
            return Open<InputOpening, MidiInput>(loops_, port);
        }
        return OpenInput(port);
    }
    OutputOpening OpenOwnOutput(const std::string& port) override {
        if (!outputs.contains(port) && !inputs.contains(port)) {
            return std::unique_ptr<MidiOutput>(std::make_unique<LoopOutput>(AddInput(port)));
        }
        return OpenOutput(port);
    }

  private:
    // A port that forwards to one the test keeps, unless the test made it refuse.
    template <typename Opening, typename Port, typename Map>
    Opening Open(Map& kept, const std::string& name) const {
        if (const auto refusal = refusals.find(name); refusal != refusals.end()) {
            return Opening::Failure(refusal->second);
        }
        const auto it = kept.find(name);
        if (it == kept.end()) {
            return Opening::Failure(name + " is not there");
        }
        return std::unique_ptr<Port>(
            std::make_unique<Forward<Port, typename Map::mapped_type>>(*it->second));
    }

    template <typename Port, typename Target>
    struct Forward;

    // Delivers what it is sent to an input, a message a piece.
    struct LoopOutput : MidiOutput {
        explicit LoopOutput(FakeInput& to) : to_(to) {}
        std::size_t MaxMessageLength() const override { return kReceiveLimit; }
        Outcome Send(std::span<const std::uint8_t> message) override {
            to_.pieces.emplace_back(message.begin(), message.end());
            return {};
        }
        FakeInput& to_;
    };
    std::map<std::string, FakeInput*> loops_;  // own inputs, by the output name they are listed as

    std::vector<std::unique_ptr<FakeInput>> ownedInputs_;
    std::vector<std::unique_ptr<FakeOutput>> ownedOutputs_;
};

template <>
struct FakeMidiSystem::Forward<MidiInput, FakeInput*> : MidiInput {
    explicit Forward(FakeInput& target) : target_(target) {}
    void TakeBytes(std::vector<std::uint8_t>& into) override { target_.TakeBytes(into); }
    bool HasLostInput() const override { return target_.HasLostInput(); }
    std::string Broken() const override { return target_.Broken(); }
    FakeInput& target_;
};

template <>
struct FakeMidiSystem::Forward<MidiOutput, FakeOutput*> : MidiOutput {
    explicit Forward(FakeOutput& target) : target_(target) {}
    std::size_t MaxMessageLength() const override { return target_.MaxMessageLength(); }
    Outcome Send(std::span<const std::uint8_t> message) override { return target_.Send(message); }
    bool HasDelivered() const override { return target_.HasDelivered(); }
    std::string Broken() const override { return target_.Broken(); }
    FakeOutput& target_;
};

}  // namespace korvel::midi::testing

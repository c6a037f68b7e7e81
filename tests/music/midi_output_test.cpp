// The MIDI outputs: RtMidi's over a stand-in for the system's MIDI (back-end, port, what
// it sends, nothing before opening or after closing), and the synthesizer's reading of
// the song's messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "music/fallback_midi_output.h"
#include "music/general_midi_synth.h"
#include "music/rtmidi_output.h"
#include "music/song_builder.h"
#include "temp_folder.h"

namespace pestrolik {
namespace {

using Log = std::vector<std::string>;
using enum RtMidi::Api;

// Writes every call that reaches the MIDI system to `log`. Ports whose name contains
// "busy" refuse to open; an empty list of back-ends has no MIDI system behind it.
struct FakePorts : MidiPorts {
    FakePorts(Log& log, std::vector<RtMidi::Api> apis, Log ports) : log(log), apis(apis), ports(ports) {}
    std::vector<RtMidi::Api> compiledApis() override { return apis; }
    bool connect(RtMidi::Api api) override { return log.push_back("connect " + std::to_string(api)), !apis.empty(); }
    unsigned portCount() override { return unsigned(ports.size()); }
    std::string portName(unsigned number) override { return ports.at(number); }
    bool openPort(unsigned number) override {
        return log.push_back("open " + std::to_string(number)), ports.at(number).find("busy") == std::string::npos;
    }
    void sendMessage(std::span<const unsigned char> bytes) override {
        log.push_back("send");
        for (unsigned char byte : bytes) (log.back() += ' ') += std::to_string(byte);
    }
    void disconnect() override { log.push_back("disconnect"); }

    Log& log;
    std::vector<RtMidi::Api> apis;
    Log ports;
};

TEST(RtMidiOutput, TakesTheSystemsBackEndAndTheFirstPortThatLeadsSomewhere) {
    const std::tuple<std::vector<RtMidi::Api>, Log, Log, bool> cases[] = {
        {{UNIX_JACK, LINUX_ALSA, RTMIDI_DUMMY}, {"Midi Through:Midi Through Port-0 14:0", "Synth"},
         {"connect 2", "open 1"}, true},
        {{LINUX_ALSA, UNIX_JACK}, {"busy Synth", "Midi Through", "Synth"}, {"connect 2", "open 0", "open 2"}, true},
        {{RTMIDI_DUMMY, UNIX_JACK}, {"Midi Through Port-0", "busy Synth"}, {"connect 0", "open 1", "disconnect"}, false},
        {{LINUX_ALSA}, {}, {"connect 2", "disconnect"}, false},
        {{}, {"Synth"}, {"connect 0"}, false},  // no MIDI system
    };
    for (const auto& [apis, ports, expected, opens] : cases) {
        Log log;
        EXPECT_EQ(RtMidiOutput(std::make_unique<FakePorts>(log, apis, ports)).open(), opens) << ::testing::PrintToString(log);
        EXPECT_EQ(Log(log.begin(), log.begin() + std::min(log.size(), expected.size())), expected);
        // Dropped while open, it closes: 32 silencing messages and the disconnect, as below.
        EXPECT_EQ(log.size(), expected.size() + (opens ? 33 : 0));
    }
}

TEST(RtMidiOutput, SendsOnlyWhileOpenAndSilencesEveryChannelOnClosing) {
    Log log;
    RtMidiOutput output(std::make_unique<FakePorts>(log, std::vector{LINUX_ALSA}, Log{"Synth"}));
    output.send(0x00642499);  // never opened
    output.close();
    EXPECT_EQ(log, Log{});

    EXPECT_TRUE(output.open());
    EXPECT_TRUE(output.open());  // already open: no second connection
    // a drum, a program change, the rest marker, a system message, data bytes past 7 bits
    for (uint32_t message : {0x00642499u, 0x000036C1u, 0x00000001u, 0x000000F8u, 0x00FFC7B1u}) output.send(message);
    output.close();
    output.close();
    output.send(0x00642499);  // closed
    Log expected{"connect 2", "open 0", "send 153 36 100", "send 193 54", "send 177 71 127"};
    for (int status = 0xB0; status <= 0xBF; ++status)
        for (const char* controller : {" 123 0", " 120 0"}) expected.push_back("send " + std::to_string(status) + controller);
    expected.push_back("disconnect");
    EXPECT_EQ(log, expected);
}

// Without a port but the loopback, the program's output opens the synthesizer, here
// through FluidSynth's file driver, and the MIDI system hears nothing more. With
// nothing that opens, it says so.
TEST(SystemMidiOutput, FallsBackToTheSynthesizerWithoutAPort) {
    testing::TempFolder folder("midi");
    Log log;
    auto output = makeSystemMidiOutput(std::make_unique<FakePorts>(log, std::vector{LINUX_ALSA}, Log{"Midi Through"}),
                                       folder / "sound.wav");
    SongTable song;
    writeSong(SongVoices{}, song);
    output->expectSong(song);
    EXPECT_TRUE(output->open());
    EXPECT_TRUE(std::filesystem::exists(folder / "sound.wav"));
    output->send(0x004D4190);
    output->close();
    EXPECT_EQ(log, (Log{"connect 2", "disconnect"}));

    std::vector<std::unique_ptr<MidiOutput>> none;
    none.push_back(std::make_unique<RtMidiOutput>(std::make_unique<FakePorts>(log, std::vector{LINUX_ALSA}, Log{})));
    EXPECT_FALSE(FallbackMidiOutput(std::move(none)).open());
    EXPECT_TRUE(makeRtMidiPorts()) << "dropped unconnected, the system's ports close quietly";
}

// The decoding as FluidSynth itself hears it.
TEST(GeneralMidiSynth, SoundsTheSongsMessages) {
    GeneralMidiSynth synth(24000.0);
    ASSERT_TRUE(synth.ready()) << "no General MIDI sound font installed";
    std::vector<float> samples(2 * 24000 * 4);  // four seconds, longer than the strings' release
    auto voicesAfter = [&](std::initializer_list<uint32_t> messages) {
        for (uint32_t message : messages) synth.play(message);
        synth.render(samples);
        return fluid_synth_get_active_voice_count(synth.synth());
    };
    synth.play(0x000036C1);  // channel 2: program 54
    int font = -1, bank = -1, program = -1;
    fluid_synth_get_program(synth.synth(), 1, &font, &bank, &program);
    EXPECT_EQ(program, 54);
    EXPECT_GT(voicesAfter({0x000033C0, 0x004D4190}), 0);  // channel 1: SynthStrings 2, note 65 held
    EXPECT_GT(*std::ranges::max_element(samples), 0.01);
    EXPECT_EQ(voicesAfter({0x00004190}), 0);              // velocity 0: released
    EXPECT_EQ(voicesAfter({0x004D4190, 0x00007BB0}), 0);  // all notes off on channel 1
    synth.play(0x004D4190);
    synth.silence();  // as the output closes
    EXPECT_EQ(voicesAfter({}), 0);
}

}  // namespace
}  // namespace pestrolik

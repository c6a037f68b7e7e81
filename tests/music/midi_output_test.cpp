// Message decoding, the fallback chain, the synthesizer's reading of the song's
// messages, and silence on the terminal.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "music/fallback_midi_output.h"
#include "music/general_midi_synth.h"
#include "recording_midi_output.h"
#include "music/short_message.h"

namespace pestrolik {
namespace {

using Call = RecordingMidiOutput::Call;

TEST(ShortMessage, DecodesWhatTheSongStores) {
    struct Case {
        uint32_t packed;
        uint8_t status, data1, data2;
        int length;
    };
    for (const Case& c : {Case{0x00643999, 0x99, 57, 100, 3},  // drum note
                          Case{0x00003F90, 0x90, 63, 0, 3},    // release by velocity 0
                          Case{0x00007BB3, 0xB3, 123, 0, 3},   // all notes off
                          Case{0x000036C1, 0xC1, 54, 0, 2},    // program change
                          Case{0x00000001, 0x01, 0, 0, 0},     // rest marker
                          Case{0x000000F8, 0xF8, 0, 0, 0}}) {  // system message: not ours
        const ShortMessage m = decodeShortMessage(c.packed);
        EXPECT_EQ(std::tuple(m.status, m.data1, m.data2, m.length), std::tuple(c.status, c.data1, c.data2, c.length))
            << std::hex << c.packed;
    }
    EXPECT_EQ(decodeShortMessage(0x00642499).channelIndex(), 9);
}

class FallbackTest : public ::testing::Test {
protected:
    FallbackMidiOutput make(bool firstOpens, bool secondOpens) {
        auto a = std::make_unique<RecordingMidiOutput>(firstOpens);
        auto b = std::make_unique<RecordingMidiOutput>(secondOpens);
        first = a.get();
        second = b.get();
        std::vector<std::unique_ptr<MidiOutput>> candidates;
        candidates.push_back(std::move(a));
        candidates.push_back(std::move(b));
        return FallbackMidiOutput(std::move(candidates));
    }
    RecordingMidiOutput* first = nullptr;
    RecordingMidiOutput* second = nullptr;
};

TEST_F(FallbackTest, PlaysThroughTheFirstOutputThatOpens) {
    FallbackMidiOutput output = make(false, true);
    EXPECT_TRUE(output.open());
    output.send(0x00642499);
    output.close();
    output.close();
    EXPECT_EQ(first->events(), (std::vector<RecordingMidiOutput::Event>{{Call::Open}}));
    EXPECT_EQ(second->events(),
              (std::vector<RecordingMidiOutput::Event>{{Call::Open}, {Call::Send, 0x00642499}, {Call::Close}}));

    EXPECT_TRUE(output.open());  // the preferred output is asked again
    EXPECT_EQ(first->count(Call::Open), 2);
}

TEST_F(FallbackTest, WithoutAnyOutputEverythingIsSilent) {
    FallbackMidiOutput output = make(false, false);
    output.close();  // never opened
    EXPECT_FALSE(output.open());
    output.send(0x00642499);
    output.close();
    EXPECT_EQ(first->count(Call::Send) + second->count(Call::Send), 0);
    EXPECT_EQ(first->count(Call::Close) + second->count(Call::Close), 0);
}

// The decoding as FluidSynth itself sees it.
TEST(GeneralMidiSynth, ReadsTheSongsMessages) {
    GeneralMidiSynth synth(48000.0);
    ASSERT_TRUE(synth.ready()) << "no General MIDI sound font installed";
    std::vector<float> samples(2 * 48000 * 4);  // four seconds: the strings' release is over 2 s
    auto activeVoices = [&] { return fluid_synth_get_active_voice_count(synth.synth()); };

    synth.play(0x000036C1);  // channel 2: program 54
    int bank = -1, program = -1, font = -1;
    fluid_synth_get_program(synth.synth(), 1, &font, &bank, &program);
    EXPECT_EQ(program, 54);

    synth.play(0x00000001);  // the rest marker sounds nothing
    EXPECT_EQ(activeVoices(), 0);

    synth.play(0x000033C0);      // channel 1: SynthStrings 2, sustained
    synth.play(0x004D4190);      // note 65 on
    EXPECT_GT(activeVoices(), 0);
    synth.render(samples);
    EXPECT_GT(activeVoices(), 0);  // still held
    synth.play(0x00004190);        // velocity 0: released
    synth.render(samples);
    EXPECT_EQ(activeVoices(), 0);

    synth.play(0x004D4190);
    synth.play(0x00007BB0);  // all notes off on channel 1
    synth.render(samples);
    EXPECT_EQ(activeVoices(), 0);
}

// On a machine without MIDI or sound devices the program must stay quiet on the
// terminal; with devices, opening and closing prints nothing either.
TEST(SystemMidiOutput, PrintsNothingOnTheTerminal) {
    std::FILE* capture = std::tmpfile();
    ASSERT_NE(capture, nullptr);
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = dup(1), savedErr = dup(2);
    dup2(fileno(capture), 1);
    dup2(fileno(capture), 2);
    {
        auto output = makeSystemMidiOutput();
        output->open();
        output->send(0x00007BB0);
        output->close();
        output->close();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, 1);
    dup2(savedErr, 2);
    close(savedOut);
    close(savedErr);

    std::rewind(capture);
    std::string printed;
    for (int c; (c = std::fgetc(capture)) != EOF;) printed += static_cast<char>(c);
    std::fclose(capture);
    EXPECT_EQ(printed, "");
}

}  // namespace
}  // namespace pestrolik

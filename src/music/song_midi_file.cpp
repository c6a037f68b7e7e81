#include "music/song_midi_file.h"

#include <initializer_list>

#include "music/short_message.h"

namespace pestrolik {
namespace {

// Takes down what the player sends and at which of its ticks.
class TickRecorder : public MidiOutput, public StepTimer {
public:
    struct Sent {
        uint32_t tick;
        uint32_t message;
    };
    bool open() override { return true; }
    void send(uint32_t packedMessage) override { sent.push_back({tick, packedMessage}); }
    void close() override {}
    void start(int) override {}
    void stop() override {}

    uint32_t tick = 0;
    std::vector<Sent> sent;
};

void put(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    out.insert(out.end(), bytes);
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value, int byteCount) {
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Seven bits a byte, most significant first; every byte but the last has bit 7 set.
void putVariableLength(std::vector<uint8_t>& out, uint32_t value) {
    int shift = 28;
    while (shift > 0 && (value >> shift) == 0) shift -= 7;
    for (; shift > 0; shift -= 7) out.push_back(static_cast<uint8_t>(0x80 | (value >> shift & 0x7F)));
    out.push_back(static_cast<uint8_t>(value & 0x7F));
}

}  // namespace

std::vector<uint8_t> songMidiFile(const SongTable& song) {
    TickRecorder recorder;
    MusicPlayer player(song, recorder, recorder);
    player.startMusic();
    while (player.isPlaying()) {  // the table's last step is empty, so this ends
        ++recorder.tick;
        player.tick();
    }

    std::vector<uint8_t> track;
    put(track, {0x00, 0xFF, 0x51, 0x03});  // at 0: set tempo, 3 bytes of microseconds per quarter
    putBigEndian(track, kMidiFileMicrosecondsPerQuarter, 3);
    uint32_t lastTick = 0;
    for (const TickRecorder::Sent& sent : recorder.sent) {
        const ShortMessage message = decodeShortMessage(sent.message);
        if (message.length == 0) continue;
        const uint32_t tick = sent.tick * kMidiFileTicksPerStep;
        putVariableLength(track, tick - lastTick);
        lastTick = tick;
        put(track, {message.status, message.data1});  // every status written out: no running status
        if (message.length == 3) track.push_back(message.data2);
    }
    putVariableLength(track, recorder.tick * kMidiFileTicksPerStep - lastTick);
    put(track, {0xFF, 0x2F, 0x00});  // end of track

    std::vector<uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};  // length 6, format 0, one track
    putBigEndian(file, kMidiFileTicksPerQuarter, 2);
    put(file, {'M', 'T', 'r', 'k'});
    putBigEndian(file, static_cast<uint32_t>(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

}  // namespace pestrolik

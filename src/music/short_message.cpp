#include "music/short_message.h"

namespace pestrolik {

ShortMessage decodeShortMessage(uint32_t packedMessage) {
    ShortMessage message;
    message.status = static_cast<uint8_t>(packedMessage & 0xFF);
    message.data1 = static_cast<uint8_t>(packedMessage >> 8 & 0x7F);
    message.data2 = static_cast<uint8_t>(packedMessage >> 16 & 0x7F);
    switch (message.kind()) {
    case midi::kNoteOff:
    case midi::kNoteOn:
    case 0xA0:  // polyphonic key pressure
    case midi::kControlChange:
    case midi::kPitchBend:
        message.length = 3;
        break;
    case midi::kProgramChange:
    case midi::kChannelPressure:
        message.length = 2;
        break;
    default:  // below 0x80 (not a status) or 0xF0 system messages: not ours to send, length 0
        break;
    }
    return message;
}

}  // namespace pestrolik

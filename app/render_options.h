#pragma once
// The headless renderer's command line.

#include "generation/picture_params.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pestrolik {

struct RenderOptions {
    enum class Task { Picture, Song, Help, Version };
    Task task = Task::Picture;
    std::string countText = std::to_string(defaultFrameCount);  // a whole number, read later as the count box is
    std::string sizeText = std::to_string(defaultPictureSize);
    bool still = false;
    std::string folder = ".";
    std::string out;  // explicit file, "-" for standard output; empty: the next free name in `folder`
    std::optional<PictureParams> params;  // nothing: fresh parameters
    int jobs = 0;  // 0: one per core
    bool quiet = false;
    std::string songPath;  // Task::Song: the MIDI file to write, "-" for standard output
    std::array<std::string, 3> voiceCounters{"0", "0", "0"};  // solo, background, bass: whole numbers
    bool songSound = false;  // Task::Song into a ".wav" file: the synthesizer's sound, not MIDI
    std::string soundFont;   // for songSound; empty: the one the about screen finds
    enum class Format { PlainGif, SmallGif, Webp };
    Format format = Format::PlainGif;  // --small, --webp
};

// Reads the arguments (argv[0] is the program) the way getopt_long does: "--count 3",
// "--count=3", "-c3", options in any order. Nothing, with `error` set (Russian, without
// the program's name), when they are not understood.
std::optional<RenderOptions> parseRenderOptions(int argc, char* argv[], std::string& error);

// A sign at most, then decimal digits and nothing else.
bool isWholeNumber(std::string_view text);

extern const char* const renderHelp;

}  // namespace pestrolik

#include "render_options.h"

#include <charconv>
#include <getopt.h>
#include <strings.h>

namespace pestrolik {

const char* const renderHelp =
    "Использование: pestrolik-render [ПАРАМЕТРЫ]\n"
    "Рисует анимированный GIF так же, как окно Пестролика, и печатает путь к файлу\n"
    "и код рисунка, по которому его можно нарисовать снова.\n"
    "\n"
    "  -c, --count=N          количество картинок, от 1 до 100 (3)\n"
    "  -s, --size=N           ширина и высота в пикселях, от 10 до 1000 (200)\n"
    "      --still            неподвижный фон\n"
    "  -f, --folder=ПАПКА     в папку под свободным именем Kaleidrix_<n>.GIF\n"
    "                         (в текущую)\n"
    "  -o, --out=ФАЙЛ         в этот файл; «-» — в стандартный вывод\n"
    "  -p, --params=КОД       нарисовать снова рисунок с этим кодом\n"
    "  -j, --jobs=N           число потоков, от 1 до 999 (по числу ядер)\n"
    "      --small            GIF поменьше, с теми же кадрами\n"
    "      --webp             анимированный WebP без потерь, Kaleidrix_<n>.webp\n"
    "  -q, --quiet            не показывать ход работы\n"
    "      --song=ФАЙЛ.mid    не рисунок, а песню из «О программе» в MIDI-файл\n"
    "      --song=ФАЙЛ.wav    песню так, как она звучит в «О программе»\n"
    "      --voices=S,F,B     счётчики голосов песни: соло, фон, бас (0,0,0)\n"
    "      --soundfont=ФАЙЛ   звуковой шрифт General MIDI для ФАЙЛ.wav\n"
    "                         (тот, что находит «О программе»)\n"
    "  -h, --help             показать эту справку и выйти\n"
    "  -V, --version          показать версию и выйти\n"
    "\n"
    "Коды выхода: 0 — готово, 2 — неверные аргументы, 3 — файл уже есть,\n"
    "4 — не удалось записать, 128 + номер сигнала — прервано сигналом\n"
    "(Ctrl-C: 130).\n";

namespace {

enum LongOnly { kStill = 256, kSong, kVoices, kSoundFont, kSmall, kWebp };

constexpr option kOptions[] = {
    {"count", required_argument, nullptr, 'c'},  {"size", required_argument, nullptr, 's'},
    {"still", no_argument, nullptr, kStill},     {"folder", required_argument, nullptr, 'f'},
    {"out", required_argument, nullptr, 'o'},    {"params", required_argument, nullptr, 'p'},
    {"jobs", required_argument, nullptr, 'j'},   {"quiet", no_argument, nullptr, 'q'},
    {"song", required_argument, nullptr, kSong}, {"voices", required_argument, nullptr, kVoices},
    {"help", no_argument, nullptr, 'h'},         {"version", no_argument, nullptr, 'V'},
    {"soundfont", required_argument, nullptr, kSoundFont},
    {"small", no_argument, nullptr, kSmall},     {"webp", no_argument, nullptr, kWebp},
    {nullptr, 0, nullptr, 0},
};

std::string quoted(std::string_view text) { return "«" + std::string(text) + "»"; }

std::string notWhole(std::string_view option, std::string_view text) {
    return std::string(option) + ": " + quoted(text) + " — не целое число";
}

// Three whole numbers separated by commas.
bool readVoiceCounters(std::string_view text, std::array<std::string, 3>& counters) {
    for (size_t i = 0; i < counters.size(); ++i) {
        const size_t comma = i + 1 < counters.size() ? text.find(',') : text.size();
        if (comma == std::string_view::npos || !isWholeNumber(text.substr(0, comma))) return false;
        counters[i] = std::string(text.substr(0, comma));
        text.remove_prefix(std::min(comma + 1, text.size()));
    }
    return true;
}

std::string notParamsCode(std::string_view text) {
    return "--params: " + quoted(text) + " — не код рисунка; нужны десять целых чисел через запятую:\n"
           "  закрутка 0-9, лепестки 0-9, шаг колец 0-9, поворот 0-9, красный 0-3, зелёный 0-3,\n"
           "  синий 0-3, глубина фона 0-58, волны фона 0-2, исходный размер 10-1000";
}

// The problem with `value` as a thread count; empty when it is one, and `jobs` holds it.
std::string readJobs(const std::string& value, int& jobs) {
    if (!isWholeNumber(value)) return notWhole("--jobs", value);
    long long read{};
    const char* first = value.c_str() + (value[0] == '+');
    if (std::from_chars(first, value.c_str() + value.size(), read).ec != std::errc() || read < 1 || read > 999)
        return "--jobs: число потоков должно быть от 1 до 999";
    jobs = static_cast<int>(read);
    return {};
}

struct GivenOptions {
    bool folder = false, pictureOption = false, voices = false;
};

// Option `c` with its value into `options`; the problem with it, empty when there is none.
std::string applyOption(int c, const std::string& value, RenderOptions& options, GivenOptions& given) {
    given.pictureOption = given.pictureOption || (c != kSong && c != kVoices && c != kSoundFont && c != 'h' && c != 'V');
    switch (c) {
    case 'c':
    case 's':
        if (!isWholeNumber(value)) return notWhole(c == 'c' ? "--count" : "--size", value);
        (c == 'c' ? options.countText : options.sizeText) = value;
        break;
    case kStill: options.still = true; break;
    case kSmall:
    case kWebp: {
        const auto format = c == kSmall ? RenderOptions::Format::SmallGif : RenderOptions::Format::Webp;
        if (options.format != RenderOptions::Format::PlainGif && options.format != format)
            return "--small и --webp не сочетаются";
        options.format = format;
        break;
    }
    case 'f': options.folder = value, given.folder = true; break;
    case 'o': options.out = value; break;
    case 'p':
        if (!(options.params = parseParamsCode(value))) return notParamsCode(value);
        break;
    case 'j': return readJobs(value, options.jobs);
    case 'q': options.quiet = true; break;
    case kSong: options.songPath = value, options.task = RenderOptions::Task::Song; break;
    case kVoices:
        if (!readVoiceCounters(value, options.voiceCounters))
            return "--voices: " + quoted(value) + " — нужны три целых числа через запятую";
        given.voices = true;
        break;
    case kSoundFont: options.soundFont = value; break;
    case 'h': options.task = RenderOptions::Task::Help; break;
    case 'V': options.task = RenderOptions::Task::Version; break;
    }
    return {};
}

// Options that do not go together; null when none clash.
const char* clashOf(const RenderOptions& options, const GivenOptions& given) {
    const bool song = options.task == RenderOptions::Task::Song;
    if (given.folder && !options.out.empty()) return "--folder и --out не сочетаются";
    if (song && given.pictureOption) return "--song записывает песню, а не рисунок: параметры рисунка с ним не сочетаются";
    if (given.voices && !song) return "--voices действует только вместе с --song";
    if (!options.soundFont.empty() && !options.songSound) return "--soundfont действует только вместе с --song ФАЙЛ.wav";
    return nullptr;
}

}  // namespace

bool isWholeNumber(std::string_view text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<RenderOptions> parseRenderOptions(int argc, char* argv[], std::string& error) {
    RenderOptions options;
    GivenOptions given;
    auto fail = [&](std::string message) {
        error = std::move(message);
        return std::nullopt;
    };
    optind = 0;  // a fresh scan, also when called again
    // The leading ':' keeps getopt quiet: the messages are our own, in Russian.
    for (int c; (c = getopt_long(argc, argv, ":c:s:f:o:p:j:qhV", kOptions, nullptr)) != -1;) {
        const std::string typed = optind > 0 && optind <= argc ? argv[optind - 1] : "";
        const std::string name =
            typed.starts_with("--") ? typed.substr(0, typed.find('=')) : std::string{'-', static_cast<char>(optopt)};
        if (c == ':') return fail("параметру " + quoted(name) + " нужно значение");
        if (c == '?') return fail("непонятный параметр " + quoted(typed.starts_with("--") ? typed : name));
        if (std::string problem = applyOption(c, optarg ? optarg : "", options, given); !problem.empty())
            return fail(problem);
        if (options.task == RenderOptions::Task::Help || options.task == RenderOptions::Task::Version) return options;
    }
    if (optind < argc) return fail("лишний аргумент " + quoted(argv[optind]));
    const std::string& song = options.songPath;
    options.songSound = song.size() >= 4 && strcasecmp(song.c_str() + song.size() - 4, ".wav") == 0;
    if (const char* clash = clashOf(options, given)) return fail(clash);
    return options;
}

}  // namespace pestrolik

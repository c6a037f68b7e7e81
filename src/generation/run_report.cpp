#include "generation/run_report.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace pestrolik {

namespace {

constexpr const char* noSaveLine = "Сохранение не произошло.";

RunMessage failure(const char* what, const RunResult& result) {
    RunMessage message{"Ошибка", {what, result.path + "."}};
    if (result.reason != 0) message.lines.push_back(failureReasonText(result.reason));
    message.lines.push_back(noSaveLine);
    return message;
}

}  // namespace

std::string failureReasonText(int errorNumber) {
    switch (errorNumber) {
    case 0: return {};
    case ENOENT: return "Такой папки нет";
    case EACCES:
    case EPERM: return "Отказано в доступе";
    case ENOTDIR: return "Путь ведёт не в папку";
    case ENOSPC:
    case EDQUOT: return "На диске нет места";
    case EROFS: return "Диск только для чтения";
    case ENAMETOOLONG: return "Слишком длинное имя";
    default: return std::strerror(errorNumber);
    }
}

RunMessage runMessage(const RunResult& result, std::string_view location) {
    switch (result.outcome) {
    case RunOutcome::Completed: {
        const std::string name = std::filesystem::path(result.path).filename().string();
        return {"Пестролик-1 - Ура!",
                {"Файл  готов!  Его  имя:   \"" + name + "\"", "Местонахождение:   " + std::string(location)}};
    }
    case RunOutcome::FileExists: return {"Ошибка", {"В этой папке уже есть такой файл :", result.path + "."}};
    case RunOutcome::CreateFailed: return failure("Не удалось создать файл :", result);
    case RunOutcome::WriteFailed: return failure("Не удалось записать файл :", result);
    case RunOutcome::Stopped: return {"Операция прервана", {"Процесс был прерван.", noSaveLine}};
    case RunOutcome::Exited: return {"Выход из программы", {"Процесс не был завершён.", noSaveLine}};
    }
    return {};
}

std::string joinLines(const std::vector<std::string>& lines, std::string_view separator) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += separator;
        text += lines[i];
    }
    return text;
}

}  // namespace pestrolik

#include "messages/run_messages.h"

#include "messages/failure_reason.h"

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

std::string_view inputProblemMessage(InputProblem problem) {
    switch (problem) {
    case InputProblem::CountTooLarge: return "Количество картинок не должно превышать 100.";
    case InputProblem::CountTooSmall: return "Количество картинок должно быть не меньше, чем одна.";
    case InputProblem::SizeTooLarge: return "Ширина и высота картинок не должны привышать 1000 пикселей.";
    case InputProblem::SizeTooSmall: return "Ширина и высота картинок должны быть не меньше, чем 10 пикселей.";
    case InputProblem::None: break;
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

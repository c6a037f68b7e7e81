#include "messages/failure_reason.h"

#include <cerrno>
#include <cstring>

namespace pestrolik {

namespace {

const char* ownWords(int errorNumber) {
    switch (errorNumber) {
    case EACCES:
    case EPERM: return "Отказано в доступе";
    case EDQUOT: return "Исчерпана дисковая квота";
    case EFBIG: return "Файл больше, чем здесь разрешено";
    case EIO: return "Сбой ввода-вывода на диске";
    case EISDIR: return "Это папка";
    case ELOOP: return "Слишком много символических ссылок в пути";
    case EMLINK: return "Слишком много ссылок на файл";
    case ENAMETOOLONG: return "Слишком длинное имя";
    case ENOENT: return "Такой папки нет";
    case ENOSPC: return "На диске нет места";
    case ENOTDIR: return "Путь ведёт не в папку";
    case EPIPE: return "Читающая программа закрыла канал";
    case EROFS: return "Диск только для чтения";
    case ETXTBSY: return "Файл занят: его выполняет программа";
    }
    return nullptr;
}

}  // namespace

std::string failureReasonText(int errorNumber) {
    if (errorNumber == 0) return {};
    if (const char* words = ownWords(errorNumber)) return words;
    return std::string("Ошибка системы: ") + std::strerror(errorNumber);
}

}  // namespace pestrolik

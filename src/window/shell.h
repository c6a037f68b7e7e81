#pragma once
// Opening a document or an address with the program the desktop has registered for
// it, behind an interface so tests can record the requests.

#include <QString>
#include <QUrl>

namespace pestrolik {

class Shell {
public:
    virtual ~Shell() = default;
    // Returns at once; true when the desktop accepted the request.
    virtual bool open(const QString& target) = 0;
};

class DesktopShell : public Shell {
public:
    bool open(const QString& target) override;
};

// A web or "mailto:" address as it stands, anything else as a local file.
QUrl shellUrl(const QString& target);

}  // namespace pestrolik

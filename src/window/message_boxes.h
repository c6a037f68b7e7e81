#pragma once
// Modal message boxes with one OK button, behind an interface so tests can record
// them instead of waiting for a click.

#include <QString>

class QDialog;
class QWidget;

namespace pestrolik {

struct RunMessage;

enum class MessageIcon { None, Information, Exclamation };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Returns when the user has closed the box. Lines in `text` end with "\r\n".
    virtual void show(MessageIcon icon, const QString& title, const QString& text) = 0;
    // The program is ending without anyone to click: the box open now closes, and
    // later ones are not shown.
    virtual void dismiss() = 0;
};

// Shows what a run tells the user, its lines joined as the boxes want them.
void showRunMessage(MessageBoxes& boxes, MessageIcon icon, const RunMessage& message);

class QtMessageBoxes : public MessageBoxes {
public:
    // `owner` (not owned) centres the boxes; it may be set after construction.
    explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void show(MessageIcon icon, const QString& title, const QString& text) override;
    void dismiss() override;

private:
    QWidget* owner_;
    QDialog* open_ = nullptr;
    bool dismissed_ = false;
};

}  // namespace pestrolik

#pragma once
// Modal message boxes with one OK button, behind an interface so tests can record
// them instead of waiting for a click.

#include <QString>

class QWidget;

namespace pestrolik {

enum class MessageIcon { None, Information, Exclamation };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Returns when the user has closed the box. Lines in `text` end with "\r\n".
    virtual void show(MessageIcon icon, const QString& title, const QString& text) = 0;
};

class QtMessageBoxes : public MessageBoxes {
public:
    // `owner` (not owned) centres the boxes; it may be set after construction.
    explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void show(MessageIcon icon, const QString& title, const QString& text) override;

private:
    QWidget* owner_;
};

}  // namespace pestrolik

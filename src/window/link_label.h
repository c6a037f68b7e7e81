#pragma once
// A label that reports a click, for the web and mail links.

#include <QLabel>

namespace pestrolik {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace pestrolik

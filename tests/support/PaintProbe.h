// Records the text a label showed each time it was painted, so a test can see what the user saw
// while the window was busy (load or replace progress in the status panel).
#pragma once

#include <QEvent>
#include <QLabel>
#include <QObject>
#include <QString>

#include <vector>

namespace zandor::test {

struct TLabelPaintProbe : QObject {
    QLabel* Label;
    std::vector<QString> Painted;
    explicit TLabelPaintProbe(QLabel* label) : Label(label) { label->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Painted.push_back(Label->text());
        return false;
    }
};

} // namespace zandor::test

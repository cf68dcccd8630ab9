// Files dragged from a file manager and dropped on a window: the window is made a drop target, the
// names of each drop are collected and OnDrop is raised. Drops on any child of the window that does
// not take drops itself (the editor, the panels) reach the window.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace zandor {

// Refers to its owner window, whose events it watches; owned by it through Qt parenthood.
class TFileDrag : public QObject {
    Q_OBJECT
public:
    explicit TFileDrag(QWidget* owner);
    ~TFileDrag() override;

    // The local paths of the last drop, in the order the drop listed them.
    const std::vector<std::string>& Files() const { return FFiles; }
    int FileCount() const { return static_cast<int>(FFiles.size()); }
    // Where the last drop came down, in the owner's coordinates.
    QPoint DropPoint() const { return FDropPoint; }

    bool EnableDrop() const { return FEnableDrop; }
    void SetEnableDrop(bool value);

    // Raised after each drop, with the component as sender.
    std::function<void(TFileDrag* sender)> OnDrop;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> FOwner;
    std::vector<std::string> FFiles;
    QPoint FDropPoint;
    bool FEnableDrop = false;
};

} // namespace zandor

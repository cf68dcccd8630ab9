// The standard editing commands a window's menus ask of whatever control has the focus.
#pragma once

namespace zandor {

// An interface only: the control implementing it keeps its own lifetime.
class IamEditActions {
public:
    virtual bool CanCut() = 0;
    virtual bool CanCopy() = 0;
    virtual bool CanPaste() = 0;
    virtual bool CanSelectAll() = 0;
    virtual bool CanDelete() = 0;
    virtual bool CanRedo() = 0;
    virtual bool CanUndo() = 0;
    virtual void CutToClipboard() = 0;
    virtual void CopyToClipboard() = 0;
    virtual void PasteFromClipboard() = 0;
    virtual void SelectAll() = 0;
    virtual void ClearSelection() = 0;
    virtual void ScrollInView() = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;

protected:
    ~IamEditActions() = default;
};

} // namespace zandor

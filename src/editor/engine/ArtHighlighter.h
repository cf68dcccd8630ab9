// The base of pluggable highlighters: components that a control asks to style the text it shows,
// alongside its own keywords and start/stop keys. The base recognises nothing; a descendant (the
// URL highlighter) overrides the operations it needs and expresses what it finds as runs.
#pragma once

#include "editor/engine/NotificationSink.h"

#include <cstdint>
#include <vector>

namespace zandor {

class TArtMemoCore;
class TArtNavigator;
class THighlighting;

// Refers to the controls that use it (Memos, not owned); a control attaches and detaches itself
// through its Highlighter property. Destroying a highlighter detaches it from every control.
class TArtHighlighter : public NotificationSink {
public:
    TArtHighlighter() = default;
    ~TArtHighlighter() override;
    TArtHighlighter(const TArtHighlighter&) = delete;
    TArtHighlighter& operator=(const TArtHighlighter&) = delete;

    // The controls' highlighting states that use this highlighter.
    const std::vector<THighlighting*>& Memos() const { return FMemos; }

    // Called for a range inside one paragraph before keywords are matched on it. A highlighter
    // styles what it recognises there with ApplyRun.
    virtual void ApplyHighlight(TArtNavigator& start, TArtNavigator& stop, int32_t keywordCount);
    // The same over the whole of paragraph p, for a highlighter that can work on paragraph
    // offsets: returns true when it did (the engine then sets up no navigators for it). The base
    // returns false and ApplyHighlight is called instead.
    virtual bool ApplyHighlightToPar(TArtMemoCore& memo, int p, int32_t keywordCount);
    // How many runs ApplyHighlight would add to paragraph p, about: the engine makes room for
    // them together with the keywords' runs. The engine calls it right before applying the
    // highlight to the same unchanged paragraph. The base says 0 (no room made in advance).
    virtual int32_t RunsToAdd(TArtMemoCore& memo, int p);
    // Whether FindContextStart can ever open a context. A highlighter that only styles through
    // ApplyHighlight says no, and the engine then spares plain paragraphs the key parser.
    virtual bool OpensContexts() const { return true; }
    // Asked when the key parser found no start key between start and stop (one paragraph). A
    // highlighter that recognises a context there inserts its runs, moves stop to where parsing
    // goes on and returns true.
    virtual bool FindContextStart(TArtNavigator& start, TArtNavigator& stop, int32_t keyCount);
    // Asked when the innermost open context at start is not one of the start/stop keys: the same
    // contract for the end of a context this highlighter opened.
    virtual bool FindContextEnd(TArtNavigator& start, TArtNavigator& stop, int32_t keyCount);
    void Notify(TArtMemoCore* sender, int32_t codes) override;
    // Called before contexts are parsed again after an edit of start .. stop.
    virtual bool BeforeReparse(TArtNavigator& start, TArtNavigator& stop, int32_t keyCount,
                               int32_t keywordCount);

private:
    friend class THighlighting;
    std::vector<THighlighting*> FMemos;
};

} // namespace zandor

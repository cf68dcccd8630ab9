// The address highlighter taken the general way: through navigators, no room made in advance and
// every address styled through the general run application. The direct way must give the same runs;
// tests and the urls fuzz target compare the two.
#pragma once

#include "editor/addons/URLHighlighter.h"

namespace zandor {

class TGeneralWayURLs : public TURLHighlighter {
public:
    // parseEveryParagraph: the key parser runs on every paragraph too, as for a highlighter that
    // opens contexts.
    explicit TGeneralWayURLs(bool parseEveryParagraph = false) : FParseEveryParagraph(parseEveryParagraph) {
        FPlaceDirectly = false;
    }
    bool ApplyHighlightToPar(TArtMemoCore&, int, int32_t) override { return false; }
    int32_t RunsToAdd(TArtMemoCore&, int) override { return 0; }
    bool OpensContexts() const override { return FParseEveryParagraph; }

private:
    bool FParseEveryParagraph;
};

} // namespace zandor

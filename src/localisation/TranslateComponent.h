// Giving a window and everything on it the texts of the loaded language, by each object's Tag.
#pragma once

class QObject;

namespace zandor {

class TLocalisation;

// A window with a Tag gets its title from that text, even an empty one. Every object below `c`
// with a Tag whose text is not empty gets it as its caption when it is a label, a push button, a
// menu action, a menu or a radio button; other kinds, and tags without a text, keep their captions.
// Other top-level windows below `c` (dialogs parented to it) belong to themselves and translate
// themselves when they are shown, so the walk does not enter them unless they carry a Tag.
void TranslateComponent(const TLocalisation& texts, QObject* c);

} // namespace zandor

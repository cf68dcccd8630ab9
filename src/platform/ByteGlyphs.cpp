#include "platform/ByteGlyphs.h"

#include "platform/CodePages.h"

#include <QGlyphRun>
#include <QPainter>
#include <QVarLengthArray>

namespace zandor::platform {

namespace {

// Characters that stand alone and run left to right: their glyphs go out in byte order.
bool StandsAlone(QChar c) {
    switch (c.direction()) {
    case QChar::DirL:
    case QChar::DirEN:
    case QChar::DirES:
    case QChar::DirET:
    case QChar::DirCS:
    case QChar::DirON:
    case QChar::DirWS:
        break;
    default:
        return false;
    }
    switch (c.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
        return false;
    default:
        return true;
    }
}

} // namespace

std::shared_ptr<const TByteGlyphs> TByteGlyphs::Make(const QFont& font, int charset, int advance) {
    if (advance <= 0 || font.underline() || font.strikeOut() || font.overline() ||
        font.letterSpacing() != 0 || font.wordSpacing() != 0 || font.capitalization() != QFont::MixedCase)
        return nullptr;
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return nullptr;
    // The layout would substitute or move glyphs by these tables.
    for (const char* table : {"GSUB", "GPOS", "kern", "morx", "mort", "kerx"})
        if (!raw.fontTable(table).isEmpty())
            return nullptr;
    std::shared_ptr<TByteGlyphs> glyphs(new TByteGlyphs);
    glyphs->FFont = raw;
    glyphs->FAdvance = advance;
    const char16_t* codes = CharsetTable(charset);
    for (int b = 0; b < 256; ++b) {
        const QChar c(codes[b]);
        if (!StandsAlone(c) || !raw.supportsCharacter(c))
            continue;
        const QList<quint32> index = raw.glyphIndexesForString(QString(c));
        if (index.size() != 1 || index[0] == 0)
            continue;
        const QList<QPointF> step = raw.advancesForGlyphIndexes(index);
        if (step.size() != 1 || step[0] != QPointF(advance, 0))
            continue;
        glyphs->FGlyph[size_t(b)] = index[0];
        glyphs->FPlain[size_t(b)] = true;
    }
    return glyphs;
}

bool TByteGlyphs::Plain(const char* text, int length) const {
    for (int i = 0; i < length; ++i)
        if (!FPlain[static_cast<unsigned char>(text[i])])
            return false;
    return true;
}

void TByteGlyphs::Draw(QPainter& painter, int x, int y, const char* text, int length) const {
    QVarLengthArray<quint32, 256> index(length);
    QVarLengthArray<QPointF, 256> at(length);
    for (int i = 0; i < length; ++i) {
        index[i] = FGlyph[static_cast<unsigned char>(text[i])];
        at[i] = QPointF(qreal(i) * FAdvance, 0);
    }
    QGlyphRun run;
    run.setRawFont(FFont);
    run.setRawData(index.constData(), at.constData(), length);
    painter.drawGlyphRun(QPointF(x, y), run);
}

} // namespace zandor::platform

#include "widgets/MaskEdit.h"
#include "widgets/Palette.h"

#include <QKeyEvent>

#include "widgets/Application.h"
#include "widgets/EditFrame.h"

namespace vivizu {

namespace {

// One edit mask, taken apart.
struct ParsedMask {
  QString qtPattern;        // Qt input mask pattern, without the blank field
  QVector<bool> literal;    // per shown position: a fixed literal
  QVector<QChar> kind;      // per shown position: the Qt mask character, or the literal
  bool literalsInText = true;
  QChar blank = u'_';
};

// Characters with a meaning in a Qt input mask; as literals they need "\".
bool IsQtMaskChar(QChar c) {
  return QStringLiteral("AaNnXx90Dd#HhBb><!\\").contains(c);
}

// Splits the mask at the ";" that are not escaped by "\".
QStringList SplitFields(const QString& mask) {
  QStringList fields{QString()};
  for (qsizetype i = 0; i < mask.size(); ++i) {
    if (mask[i] == u'\\' && i + 1 < mask.size()) {
      fields.back() += mask[i];
      fields.back() += mask[++i];
    } else if (mask[i] == u';') {
      fields.append(QString());
    } else {
      fields.back() += mask[i];
    }
  }
  return fields;
}

ParsedMask Parse(const QString& editMask) {
  ParsedMask m;
  const QStringList fields = SplitFields(editMask);
  if (fields.size() > 1 && !fields[1].isEmpty()) m.literalsInText = fields[1][0] != u'0';
  if (fields.size() > 2 && !fields[2].isEmpty()) m.blank = fields[2][0];

  auto addLiteral = [&m](QChar c) {
    if (IsQtMaskChar(c)) m.qtPattern += u'\\';
    m.qtPattern += c;
    m.literal.append(true);
    m.kind.append(c);
  };
  // Every input position becomes Qt's *optional* form of its class: Qt then
  // accepts the blank character in that position when the text is set, so a
  // text with unfilled positions can be set without its characters shifting.
  // Whether a position must be filled is the window's business, not the mask's.
  auto addInput = [&m](QChar qtKind) {
    m.qtPattern += qtKind;
    m.literal.append(false);
    m.kind.append(qtKind);
  };
  const QString& pattern = fields[0];
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    switch (c.unicode()) {
      case u'0':
      case u'9': addInput(u'0'); break;                 // digit
      case u'#': addInput(u'#'); break;                 // digit or sign
      case u'L':
      case u'l': addInput(u'a'); break;                 // letter
      case u'A':
      case u'a': addInput(u'n'); break;                 // letter or digit
      case u'C':
      case u'c': addInput(u'x'); break;                 // any character
      case u'>':
        if (i + 1 < pattern.size() && pattern[i + 1] == u'<') {
          m.qtPattern += u'!';                          // "><": no case change
          ++i;
        } else {
          m.qtPattern += u'>';
        }
        break;
      case u'<':
        if (i + 1 < pattern.size() && pattern[i + 1] == u'>') {
          m.qtPattern += u'!';
          ++i;
        } else {
          m.qtPattern += u'<';
        }
        break;
      case u'!': break;                                 // trimming flag: nothing to show
      case u'\\':
        if (i + 1 < pattern.size()) addLiteral(pattern[++i]);
        break;
      default: addLiteral(c);
    }
  }
  return m;
}

// Whether Qt takes c in a position of this kind.
bool Accepts(QChar kind, QChar c) {
  switch (kind.unicode()) {
    case u'0': return c.isDigit();
    case u'#': return c.isDigit() || c == u'+' || c == u'-';
    case u'a': return c.isLetter();
    case u'n': return c.isLetterOrNumber();
    case u'x': return c.isPrint() && c != u' ';
    default: return false;
  }
}

}  // namespace

TMaskEdit::TMaskEdit(QWidget* parent) : QLineEdit(parent), FFrameColor(AccentColor()) {
  connect(this, &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
  SetUpEditFrame(*this);
  ApplyStyle();
}

QString TMaskEdit::ToInputMask(const QString& editMask) {
  const ParsedMask m = Parse(editMask);
  return m.qtPattern + u';' + m.blank;
}

void TMaskEdit::SetEditMask(const QString& mask) {
  FEditMask = mask;
  if (mask.isEmpty()) {
    FLiteral.clear();
    FKinds.clear();
    setInputMask(QString());
    setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
    return;
  }
  ParsedMask m = Parse(mask);
  FLiteral = m.literal;
  FKinds = m.kind;
  FBlank = m.blank;
  FLiteralsInText = m.literalsInText;
  setInputMask(m.qtPattern + u';' + m.blank);
}

void TMaskEdit::SetMaxLength(int length) {
  FMaxLength = length;
  if (FEditMask.isEmpty()) setMaxLength(length > 0 ? length : 32767);
}

QString TMaskEdit::Text() const {
  if (FEditMask.isEmpty()) return text();
  const QString shown = displayText();
  QString result;
  result.reserve(shown.size());
  for (qsizetype i = 0; i < shown.size(); ++i) {
    const bool literal = i < FLiteral.size() && FLiteral[i];
    if (literal) {
      if (FLiteralsInText) result += shown[i];
    } else {
      result += shown[i] == FBlank ? QChar(u' ') : shown[i];
    }
  }
  return result;
}

void TMaskEdit::SetText(const QString& value) {
  if (FEditMask.isEmpty()) {
    setText(value);
    return;
  }
  // Build the shown text position by position: literals from the mask, the
  // blank character for spaces, blanks and characters the position refuses.
  QString shown;
  qsizetype from = 0;
  for (qsizetype i = 0; i < FKinds.size(); ++i) {
    if (FLiteral[i]) {
      shown += FKinds[i];
      if (FLiteralsInText) ++from;
      continue;
    }
    const QChar c = from < value.size() ? value[from] : FBlank;
    ++from;
    shown += Accepts(FKinds[i], c) ? c : FBlank;
  }
  setText(shown);
}

int TMaskEdit::SelStart() const {
  return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TMaskEdit::SetSelStart(int start) { setCursorPosition(start); }

int TMaskEdit::SelLength() const { return hasSelectedText() ? selectionLength() : 0; }

void TMaskEdit::SetSelLength(int length) {
  const int start = SelStart();
  if (length <= 0) {
    setCursorPosition(start);
  } else {
    setSelection(start, length);
  }
}

void TMaskEdit::SetFontColor(const QColor& color) {
  FFontColor = color;
  ApplyStyle();
}

void TMaskEdit::SetFrameColor(const QColor& color) {
  FFrameColor = color;
  update();
}

void TMaskEdit::ApplyStyle() {
  const QColor font = FFontColor.isValid() ? FFontColor : QColor(Qt::black);
  ApplyEditColours(*this, font, Dimmed(font));
  update();
}

void TMaskEdit::paintEvent(QPaintEvent* event) {
  PaintEditBackground(*this);
  QLineEdit::paintEvent(event);
  PaintEditFrame(*this, FFrameColor);
}

void TMaskEdit::OnTextChanged() {
  const QString now = Text();
  if (now == FLastText) return;
  FLastText = now;
  GuardedCall([this] { emit Change(); });
}

void TMaskEdit::keyPressEvent(QKeyEvent* event) {
  // The blank character marks unfilled places; typing it is not input.
  if (!FEditMask.isEmpty() && event->text().size() == 1 && event->text()[0] == FBlank &&
      !event->matches(QKeySequence::Paste)) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace vivizu

// The confirm pattern that every numeric box of the main window shares:
// validation on the release of Enter with its refusal message, the lenient
// parse with the system's separators, the write-back and the LostFocus rewrite.
#pragma once

#include "core/numeric_entry.h"

#include <QString>

#include <functional>
#include <string_view>

class QLineEdit;

namespace orv {

class NumericBox;
class Platform;

namespace entry {

// Tests the box's text with the decimal validator. A refused text shows
// "Veuillez entrer un nombre décimal." under `title` (critical icon, OK),
// then selects the whole text of the box; the result is then false.
bool validate(Platform &platform, NumericBox *box, const QString &title = QStringLiteral("Erreur de saisie"));

// The lenient parse, with the decimal and group separators of the system's
// locale, rounded to a 32-bit float as the boxes keep their values.
float parse(const QString &text);

// Writes value into the box with a display pattern ("." as decimal point).
void write(QLineEdit *box, double value, std::string_view pattern);

struct Binding {
    // Runs on the release of Enter, once the text has passed the validator;
    // the handler parses the text itself when it needs the value.
    std::function<void()> confirmed;
    // The value shown again when the box loses the focus; without it the box
    // is left as it is. A typed value that was not confirmed is thus dropped.
    std::function<double()> shown;
    std::string_view pattern = kFmtBox; // of the LostFocus rewrite
    QString errorTitle = QStringLiteral("Erreur de saisie");
};

// Connects the box's Enter release and LostFocus to the pattern above.
void bind(NumericBox *box, Platform &platform, Binding binding);

} // namespace entry
} // namespace orv

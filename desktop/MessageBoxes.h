#pragma once

#include <string>

#include "kfield/OperatorMessages.h"

class QWidget;

namespace config {
class LanguageTexts;
}

namespace app {

// Shows every operator message as a modal box with an OK button, the icon the message asks for and
// the product name (text line 1) as its title; returns when the operator has closed it.
class MessageBoxes final : public kfield::OperatorMessages {
public:
    MessageBoxes(QWidget* parent, const config::LanguageTexts& texts) : m_parent(parent), m_texts(texts) {}

    void show(const std::string& text, kfield::MessageIcon icon) override;

private:
    QWidget* m_parent;
    const config::LanguageTexts& m_texts;
};

// A failure before the language texts are loaded, in a modal box of its own.
void showStartFailure(const std::string& text);

} // namespace app

#pragma once

#include <QWidget>

class QCloseEvent;
class QLabel;
class QPushButton;

namespace config {
class LanguageTexts;
}

namespace ui {

// The About window: product name, version and two informational texts. Closing it, by cmdOK or by
// its close box, says so through closed().
class frm_About final : public QWidget {
    Q_OBJECT

public:
    explicit frm_About(const config::LanguageTexts& texts, QWidget* parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createWidgets();
    void Form_Load();
    void cmdOK_Click();

    const config::LanguageTexts& m_texts;
    QLabel* m_picture = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_description = nullptr;
    QLabel* m_info = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace ui

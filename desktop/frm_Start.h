#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace config {
class LanguageTexts;
}

namespace app {

struct DesktopEnvironment;

// The start-up window: loads the language texts, shows product name and version, and after
// 3000 ms (10 ms with "/a") unloads itself to make room for the main window.
class frm_Start final : public QWidget {
    Q_OBJECT

public:
    frm_Start(config::LanguageTexts& texts, const DesktopEnvironment& environment, QWidget* parent = nullptr);

    // Runs before the window is shown: loads resource.dll, sets the captions and starts Timer1.
    // Throws config::LanguageFileError when the texts cannot be loaded; no caption is set then.
    void Form_Load();

signals:
    // Timer1 has ticked and the window has closed: the main window comes next.
    void unloaded();

private:
    void createWidgets();
    void Timer1_Timer();

    config::LanguageTexts& m_texts;
    const DesktopEnvironment& m_environment;
    QLabel* m_picture = nullptr;
    QFrame* m_frame = nullptr;
    QLabel* m_productName = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_company = nullptr;
    QLabel* m_warning = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace app

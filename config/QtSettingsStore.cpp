#include "QtSettingsStore.h"

#include "platform/PathText.h"
#include "platform/PlatformError.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace config {
namespace {

QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

QString toQString(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

// "Settings/KEY": QSettings addresses a key inside an INI group with a slash.
QString groupKey(std::string_view section, std::string_view key)
{
    return toQString(section) + QLatin1Char('/') + toQString(key);
}

std::string statusText(QSettings::Status status)
{
    switch (status) {
    case QSettings::AccessError: return "the file or its directory cannot be written";
    case QSettings::FormatError: return "the file is not a valid INI file";
    case QSettings::NoError: break;
    }
    return "unknown error";
}

// A relative XDG_CONFIG_HOME is ignored, as the XDG rules ask: otherwise the settings would depend on
// the directory the converter was started from.
std::filesystem::path userConfigDirectory()
{
    const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!location.isEmpty() && QDir::isAbsolutePath(location))
        return std::filesystem::path(location.toStdU16String());
    const QString home = QDir::homePath();
    return std::filesystem::path(home.toStdU16String()) / ".config";
}

} // namespace

QtSettingsStore::QtSettingsStore() : QtSettingsStore(userConfigDirectory()) {}

QtSettingsStore::QtSettingsStore(std::filesystem::path directory) : m_directory(std::move(directory)) {}

std::filesystem::path QtSettingsStore::iniFile(std::string_view application) const
{
    return m_directory / pathFromUtf8(std::string(application) + ".ini");
}

std::string QtSettingsStore::ReadSetting(std::string_view application, std::string_view section,
                                         std::string_view key, std::string_view defaultValue) const
{
    const QSettings settings(toQString(iniFile(application)), QSettings::IniFormat);
    const QVariant value = settings.value(groupKey(section, key));
    if (!value.isValid())
        return std::string(defaultValue);
    // An unquoted comma in a hand-edited file makes QSettings read a list; keep the text as one.
    if (value.typeId() == QMetaType::QStringList)
        return toUtf8(value.toStringList().join(QLatin1Char(',')));
    return toUtf8(value.toString());
}

void QtSettingsStore::WriteSetting(std::string_view application, std::string_view section,
                                   std::string_view key, std::string_view value)
{
    QSettings settings(toQString(iniFile(application)), QSettings::IniFormat);
    settings.setValue(groupKey(section, key), toQString(value));
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw PlatformError("Cannot write the setting \"" + std::string(key) + "\" to \"" +
                            toUtf8(settings.fileName()) + "\": " + statusText(settings.status()));
    }
}

} // namespace config

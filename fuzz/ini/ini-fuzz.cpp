// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes as an INI file, read, changed in memory and written back.
#include <zc/inifile.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Through a real file: that is where the encoding (UTF-8 or byte for byte) is decided.
    static const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            __builtin_trap();
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    zc::IniFile ini(path, zc::IniFile::SaveOnUpdate);
    for (const char *section : {"Install", "Fill", ""}) {
        (void)ini.SectionExists(QLatin1String(section));
        (void)ini.ReadString(QLatin1String(section), QStringLiteral("DirData"), QString());
        (void)ini.ReadInteger(QLatin1String(section), QStringLiteral("ChekLNG"), -1);
    }
    // A written key reads back as written, whatever the file held around it, and reading
    // the text again changes no value (stray carriage returns may settle into line breaks,
    // which values do not see: they are trimmed).
    const QString section = QStringLiteral("Fuzz"), key = QStringLiteral("Key");
    ini.WriteString(section, key, QStringLiteral("value"));
    zc::IniFile again;
    again.FromText(ini.ToText());
    for (const zc::IniFile *file : {&ini, &again}) {
        if (file->Value(section, key) != QStringLiteral("value"))
            __builtin_trap();
    }
    for (const char *name : {"Install", "Fill", "Fuzz", ""}) {
        for (const char *k : {"DirData", "ChekLNG", "Server", "Key"}) {
            if (ini.Value(QLatin1String(name), QLatin1String(k)) !=
                again.Value(QLatin1String(name), QLatin1String(k)))
                __builtin_trap();
        }
    }
    return 0;
}

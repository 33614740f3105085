// SPDX-License-Identifier: MIT
// Reading ZColor.ini into AppConfig.
#include "appconfig.h"

#include <zc/inifile.h>

namespace zc {

AppConfig AppConfig::load(const QString &path)
{
    const IniFile ini(path);
    const QString section = QLatin1String(SConfigSection);
    auto text = [&](const char *key) {
        return ini.ReadString(section, QLatin1String(key), QString());
    };

    AppConfig config;
    config.TipoLingua = ini.ReadInteger(section, QLatin1String(SKeyLanguage), -1);
    config.PathData = text("DirData") + u'/';
    config.PathPrg = text("DirPrg") + u'/';
    config.PathDataReport = text("DirReport") + u'/';
    config.PathImg = text("Immagini") + u'/';
    config.Server = text("Server");
    config.FileGdb = text("FileGdb");
    config.Animations = ini.ReadInteger(section, QLatin1String("Animations"), 1) != 0;
    return config;
}

QString AppConfig::DatabaseName() const
{
    if (!Server.isEmpty())
        return Server + PathData + FileGdb;
    return PathData + FileGdb;
}

QString ConfigFilePath(const QString &folder)
{
    return folder + u'/' + QLatin1String(SConfigFileName);
}

} // namespace zc

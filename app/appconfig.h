// SPDX-License-Identifier: MIT
// The colour test's configuration: what ZColor.ini says, and what follows from it.
#pragma once

#include <QString>

namespace zc {

/// Name of the configuration file in the current directory.
inline constexpr char SConfigFileName[] = "ZColor.ini";
/// The one section of the configuration file.
inline constexpr char SConfigSection[] = "Install";
/// Key of the language number; -1 (or absent) asks for a language at start.
inline constexpr char SKeyLanguage[] = "ChekLNG";

/// Values of section "Install", with the separator appended to each folder.
///
/// Values are used as read: nothing is trimmed or checked, and "/" is appended even when
/// a folder already ends in one.
struct AppConfig
{
    int TipoLingua = -1;    ///< "ChekLNG": language number, -1 none chosen yet
    QString PathData;       ///< "DirData" + "/": folder of the database file
    QString PathPrg;        ///< "DirPrg" + "/"
    QString PathDataReport; ///< "DirReport" + "/": template and printout
    QString PathImg;        ///< "Immagini" + "/": colour-table pictures
    QString Server;         ///< "Server": "host:" for a remote server, empty for a local file
    QString FileGdb;        ///< "FileGdb": database file name
    bool Animations = true; ///< "Animations": 0 shows the ring at rest at once, no spin-in

    /// Reads `path`; a missing file, or a missing or non-numeric key, gives the default.
    static AppConfig load(const QString &path);

    /// `Server` + `PathData` + `FileGdb` (an empty `Server` adds nothing).
    QString DatabaseName() const;
};

/// The configuration file's path in `folder`: folder + "/" + "ZColor.ini".
QString ConfigFilePath(const QString &folder);

} // namespace zc

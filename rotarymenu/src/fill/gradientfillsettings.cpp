// SPDX-License-Identifier: MIT
// Gradient fill persistence: INI sections with hex picture texts, and the clipboard format.
#include <rotarymenu/gradientfill.h>
#include <zc/inifile.h>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QMimeData>
#include <QScopeGuard>

#include <functional>
#include <optional>

using namespace zc::ring;

namespace {

// The length of the "Picture" text; "PictureSize" is taken by the picture's drawing size.
const QString kPictureLengthKey = QStringLiteral("ForegroundPictureSize");

QString bytesToHex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

int hexDigit(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if (u >= '0' && u <= '9') {
        return u - '0';
    }
    if (u >= 'A' && u <= 'F') {
        return u - 'A' + 10;
    }
    throw EFillConvertError("No Hex-Number");
}

// A trailing odd character is ignored; any other non-hex character fails the whole text.
QByteArray hexToBytes(const QString &text)
{
    QByteArray bytes;
    const qsizetype count = text.size() / 2;
    bytes.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        bytes.append(char(16 * hexDigit(text[2 * i]) + hexDigit(text[2 * i + 1])));
    }
    return bytes;
}

void loadPictureText(TPicture *picture, const QString &text)
{
    QByteArray bytes = hexToBytes(text);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    picture->LoadFromStream(stream);
}

QString pictureText(const TPicture *picture)
{
    QBuffer stream;
    stream.open(QIODevice::WriteOnly);
    picture->SaveToStream(stream);
    return bytesToHex(stream.data());
}

// Reads one integer key and checks it against the range of its setting.
class SectionReader
{
public:
    SectionReader(const zc::IniFile &ini, const QString &section) : m_ini(ini), m_section(section)
    {
    }

    /// A missing or empty key keeps `current`; text that is no integer is refused, so that a
    /// typing error does not pass for the old value.
    qint32 integer(const char *key, qint32 current) const
    {
        const std::optional<QString> text = m_ini.Value(m_section, QString::fromLatin1(key));
        if (!text || text->isEmpty())
            return current;
        int value = 0;
        if (!zc::ParseIniInteger(*text, &value)) {
            throw EFillConvertError(QStringLiteral("Value \"%1\" of \"%2\" is not an integer")
                                        .arg(*text, QLatin1String(key))
                                        .toStdString());
        }
        return value;
    }

    template <typename E> E enumeration(const char *key, E current, int last) const
    {
        return E(ranged(key, int(current), 0, last));
    }

    quint8 byte(const char *key, quint8 current) const
    {
        return quint8(ranged(key, current, 0, 255));
    }

private:
    int ranged(const char *key, int current, int first, int last) const
    {
        const qint32 v = integer(key, current);
        if (v < first || v > last) {
            throw EFillConvertError(QStringLiteral("Value %1 of \"%2\" is out of range (%3 to %4)")
                                        .arg(v)
                                        .arg(QLatin1String(key))
                                        .arg(first)
                                        .arg(last)
                                        .toStdString());
        }
        return v;
    }

    const zc::IniFile &m_ini;
    QString m_section;
};

} // namespace

/// Direct access to the settings for loading them without one notification per setting.
class TGradientFillSettings
{
public:
    static void load(TGradientFill &f, const zc::IniFile &ini, const QString &section);
};

void TGradientFill::SaveToFile(const QString &fileName, const QString &section) const
{
    zc::IniFile ini(fileName, zc::IniFile::SaveOnUpdate);
    SaveToFile(ini, section);
    try {
        ini.UpdateFile();
    } catch (const zc::EIniFileError &) {
        // Keep the message this function has always thrown.
        throw std::runtime_error(QStringLiteral("Cannot write \"%1\"").arg(fileName).toStdString());
    }
}

void TGradientFill::SaveToFile(zc::IniFile &ini, const QString &section) const
{
    const auto put = [&](const char *key, qint32 value) {
        ini.WriteInteger(section, QString::fromLatin1(key), value);
    };
    put("Color", m_color);
    put("ColorTo", m_colorTo);
    put("ColorMirror", m_colorMirror);
    put("ColorMirrorTo", m_colorMirrorTo);
    put("GradientType", m_gradientType);
    put("GradientMirrorType", m_gradientMirrorType);
    put("HatchStyle", m_hatchStyle);
    put("HatchStyleMirror", m_hatchStyleMirror);
    put("BackGroundPictureMode", m_bgMode);
    put("BackGroundPicturePosition", m_bgPosition);
    put("BackGroundPictureLeft", m_bgLeft);
    put("BackGroundPictureTop", m_bgTop);
    put("PicturePosition", m_picPosition);
    put("PictureLeft", m_picLeft);
    put("PictureTop", m_picTop);
    put("PictureSize", m_picSize);
    put("PictureWidth", m_picWidth);
    put("PictureHeight", m_picHeight);
    put("Opacity", m_opacity);
    put("OpacityTo", m_opacityTo);
    put("OpacityMirror", m_opacityMirror);
    put("OpacityMirrorTo", m_opacityMirrorTo);
    put("BorderColor", m_borderColor);
    put("BorderOpacity", m_borderOpacity);
    put("BorderWidth", m_borderWidth);
    put("Rounding", m_rounding);
    put("RoundingType", m_roundingType);
    put("ShadowOffset", m_shadowOffset);
    put("ShadowColor", m_shadowColor);
    put("Angle", m_angle);
    put("Glow", m_glow);
    put("GlowGradientColor", m_glowGradientColor);
    put("GlowRadialColor", m_glowRadialColor);
    const QString fg = pictureText(m_picture);
    ini.WriteString(section, QStringLiteral("Picture"), fg);
    ini.WriteInteger(section, kPictureLengthKey, qint32(fg.size()));
    const QString bg = pictureText(m_bgPicture);
    ini.WriteString(section, QStringLiteral("BackgroundPicture"), bg);
    ini.WriteInteger(section, QStringLiteral("BackgroundPictureSize"), qint32(bg.size()));
}

void TGradientFill::LoadFromFile(const QString &fileName, const QString &section)
{
    LoadFromFile(zc::IniFile(fileName), section);
}

void TGradientFill::LoadFromFile(const zc::IniFile &ini, const QString &section)
{
    try {
        TGradientFillSettings::load(*this, ini, section);
    } catch (...) {
        // What was read before the failure stays, so the owner must still hear of it.
        Changed();
        throw;
    }
    Changed();
}

void TGradientFillSettings::load(TGradientFill &f, const zc::IniFile &ini, const QString &section)
{
    const SectionReader in(ini, section);
    f.m_color = in.integer("Color", f.m_color);
    f.m_colorTo = in.integer("ColorTo", f.m_colorTo);
    f.m_colorMirror = in.integer("ColorMirror", f.m_colorMirror);
    f.m_colorMirrorTo = in.integer("ColorMirrorTo", f.m_colorMirrorTo);
    f.m_gradientType = in.enumeration("GradientType", f.m_gradientType, gtNone);
    f.m_gradientMirrorType = in.enumeration("GradientMirrorType", f.m_gradientMirrorType, gtNone);
    f.m_hatchStyle = in.enumeration("HatchStyle", f.m_hatchStyle, HatchStyleMax);
    f.m_hatchStyleMirror = in.enumeration("HatchStyleMirror", f.m_hatchStyleMirror, HatchStyleMax);
    f.m_bgMode = in.enumeration("BackGroundPictureMode", f.m_bgMode, pmOutsideFill);
    f.m_bgPosition = in.enumeration("BackGroundPicturePosition", f.m_bgPosition, ppCustom);
    f.m_bgLeft = in.integer("BackGroundPictureLeft", f.m_bgLeft);
    f.m_bgTop = in.integer("BackGroundPictureTop", f.m_bgTop);
    f.m_picPosition = in.enumeration("PicturePosition", f.m_picPosition, ppCustom);
    f.m_picLeft = in.integer("PictureLeft", f.m_picLeft);
    f.m_picTop = in.integer("PictureTop", f.m_picTop);
    f.m_picSize = in.enumeration("PictureSize", f.m_picSize, psCustom);
    f.m_picWidth = in.integer("PictureWidth", f.m_picWidth);
    f.m_picHeight = in.integer("PictureHeight", f.m_picHeight);
    f.m_opacity = in.byte("Opacity", f.m_opacity);
    f.m_opacityTo = in.byte("OpacityTo", f.m_opacityTo);
    f.m_opacityMirror = in.byte("OpacityMirror", f.m_opacityMirror);
    f.m_opacityMirrorTo = in.byte("OpacityMirrorTo", f.m_opacityMirrorTo);
    f.m_borderColor = in.integer("BorderColor", f.m_borderColor);
    f.m_borderOpacity = in.byte("BorderOpacity", f.m_borderOpacity);
    f.m_borderWidth = in.integer("BorderWidth", f.m_borderWidth);
    f.m_rounding = in.integer("Rounding", f.m_rounding);
    f.m_roundingType = in.enumeration("RoundingType", f.m_roundingType, rtRight);
    f.m_shadowOffset = in.integer("ShadowOffset", f.m_shadowOffset);
    f.m_shadowColor = in.integer("ShadowColor", f.m_shadowColor);
    f.m_angle = in.integer("Angle", f.m_angle);
    f.m_glow = in.enumeration("Glow", f.m_glow, gmRadialGradient);
    f.m_glowGradientColor = in.integer("GlowGradientColor", f.m_glowGradientColor);
    f.m_glowRadialColor = in.integer("GlowRadialColor", f.m_glowRadialColor);

    // The pictures' own notifications are held back; the caller notifies once.
    ++f.m_updateCount;
    const auto restore = qScopeGuard([&f] { --f.m_updateCount; });
    const auto loadPicture = [&](TPicture *picture, const QString &key, const QString &lengthKey) {
        const qint32 length = ini.ReadInteger(section, lengthKey, 0);
        if (length > 0) {
            loadPictureText(picture, ini.ReadString(section, key, QString()).left(length));
        }
    };
    loadPicture(f.m_picture, QStringLiteral("Picture"), kPictureLengthKey);
    loadPicture(f.m_bgPicture, QStringLiteral("BackgroundPicture"),
                QStringLiteral("BackgroundPictureSize"));
}

// ---------------------------------------------------------------------------------------------
// Clipboard text. It reads like a form file:
//
//   object TSaver
//     SaveObject.Color = 16777215
//     SaveObject.GradientType = gtHorizontal
//     SaveObject.Picture.Data = {89504E47...}
//   end
//
// One line per setting in streaming order, settings at their default left out except those
// that are always written; colours and integers in decimal, enumerations by member name,
// Booleans as True/False, pictures as upper-case hex of their bytes in braces.

namespace {

struct Property
{
    const char *name;
    bool always;
    std::function<QString(const TGradientFill &)> get;
    std::function<bool(TGradientFill &, const QString &)> set; // false: not a valid value
};

template <typename E>
Property enumProperty(const char *name, bool always, E (TGradientFill::*get)() const,
                      void (TGradientFill::*set)(E))
{
    const QMetaEnum meta = QMetaEnum::fromType<E>();
    return {
        name, always,
        [=](const TGradientFill &f) { return QString::fromLatin1(meta.valueToKey((f.*get)())); },
        [=](TGradientFill &f, const QString &text) {
            bool ok = false;
            const int v = meta.keyToValue(text.toLatin1().constData(), &ok);
            if (ok) {
                (f.*set)(E(v));
            }
            return ok;
        }};
}

template <typename T>
Property intProperty(const char *name, bool always, T (TGradientFill::*get)() const,
                     void (TGradientFill::*set)(T), qint64 lo, qint64 hi)
{
    return {name, always, [=](const TGradientFill &f) { return QString::number((f.*get)()); },
            [=](TGradientFill &f, const QString &text) {
                bool ok = false;
                const qint64 v = text.toLongLong(&ok);
                ok = ok && v >= lo && v <= hi;
                if (ok) {
                    (f.*set)(T(v));
                }
                return ok;
            }};
}

Property colorProperty(const char *name, bool always, TColor (TGradientFill::*get)() const,
                       void (TGradientFill::*set)(TColor))
{
    return intProperty<TColor>(name, always, get, set, std::numeric_limits<qint32>::min(),
                               std::numeric_limits<qint32>::max());
}

Property int32Property(const char *name, qint32 (TGradientFill::*get)() const,
                       void (TGradientFill::*set)(qint32), bool always = false)
{
    return intProperty<qint32>(name, always, get, set, std::numeric_limits<qint32>::min(),
                               std::numeric_limits<qint32>::max());
}

Property byteProperty(const char *name, quint8 (TGradientFill::*get)() const,
                      void (TGradientFill::*set)(quint8))
{
    return intProperty<quint8>(name, false, get, set, 0, 255);
}

Property boolProperty(const char *name, bool (TGradientFill::*get)() const,
                      void (TGradientFill::*set)(bool))
{
    return {name, false,
            [=](const TGradientFill &f) {
                return (f.*get)() ? QStringLiteral("True") : QStringLiteral("False");
            },
            [=](TGradientFill &f, const QString &text) {
                const bool t = text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
                const bool ok = t || text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0;
                if (ok) {
                    (f.*set)(t);
                }
                return ok;
            }};
}

Property hatchProperty(const char *name, THatchStyle (TGradientFill::*get)() const,
                       void (TGradientFill::*set)(THatchStyle))
{
    return {name, false,
            [=](const TGradientFill &f) { return QString::fromLatin1(HatchStyleName((f.*get)())); },
            [=](TGradientFill &f, const QString &text) {
                for (int s = HatchStyleMin; s <= HatchStyleMax; ++s) {
                    if (text == QLatin1String(HatchStyleName(THatchStyle(s)))) {
                        (f.*set)(THatchStyle(s));
                        return true;
                    }
                }
                return false;
            }};
}

Property pictureProperty(const char *name, TPicture *(TGradientFill::*get)() const)
{
    return {name, false,
            [=](const TGradientFill &f) {
                const TPicture *p = (f.*get)();
                return p->Empty() ? QString()
                                  : QLatin1Char('{') + pictureText(p) + QLatin1Char('}');
            },
            [=](TGradientFill &f, const QString &text) {
                if (!text.startsWith(QLatin1Char('{')) || !text.endsWith(QLatin1Char('}'))) {
                    return false;
                }
                loadPictureText((f.*get)(), text.mid(1, text.size() - 2));
                return true;
            }};
}

const QList<Property> &properties()
{
    using F = TGradientFill;
    static const QList<Property> table = {
        colorProperty("Color", false, &F::Color, &F::SetColor),
        colorProperty("ColorTo", false, &F::ColorTo, &F::SetColorTo),
        colorProperty("ColorMirror", true, &F::ColorMirror, &F::SetColorMirror),
        colorProperty("ColorMirrorTo", true, &F::ColorMirrorTo, &F::SetColorMirrorTo),
        enumProperty("GradientType", true, &F::GradientType, &F::SetGradientType),
        enumProperty("GradientMirrorType", true, &F::GradientMirrorType, &F::SetGradientMirrorType),
        hatchProperty("HatchStyle", &F::HatchStyle, &F::SetHatchStyle),
        hatchProperty("HatchStyleMirror", &F::HatchStyleMirror, &F::SetHatchStyleMirror),
        boolProperty("BackGroundPictureAspectRatio", &F::BackGroundPictureAspectRatio,
                     &F::SetBackGroundPictureAspectRatio),
        enumProperty("BackGroundPictureMode", false, &F::BackGroundPictureMode,
                     &F::SetBackGroundPictureMode),
        pictureProperty("BackGroundPicture.Data", &F::BackGroundPicture),
        enumProperty("BackGroundPicturePosition", false, &F::BackGroundPicturePosition,
                     &F::SetBackGroundPicturePosition),
        int32Property("BackGroundPictureLeft", &F::BackGroundPictureLeft,
                      &F::SetBackGroundPictureLeft),
        int32Property("BackGroundPictureTop", &F::BackGroundPictureTop,
                      &F::SetBackGroundPictureTop),
        enumProperty("BackGroundPictureAspectMode", false, &F::BackGroundPictureAspectMode,
                     &F::SetBackGroundPictureAspectMode),
        pictureProperty("Picture.Data", &F::Picture),
        enumProperty("PicturePosition", false, &F::PicturePosition, &F::SetPicturePosition),
        int32Property("PictureLeft", &F::PictureLeft, &F::SetPictureLeft),
        int32Property("PictureTop", &F::PictureTop, &F::SetPictureTop),
        enumProperty("PictureSize", false, &F::PictureSize, &F::SetPictureSize),
        int32Property("PictureWidth", &F::PictureWidth, &F::SetPictureWidth),
        int32Property("PictureHeight", &F::PictureHeight, &F::SetPictureHeight),
        boolProperty("PictureAspectRatio", &F::PictureAspectRatio, &F::SetPictureAspectRatio),
        enumProperty("PictureAspectMode", false, &F::PictureAspectMode, &F::SetPictureAspectMode),
        byteProperty("Opacity", &F::Opacity, &F::SetOpacity),
        byteProperty("OpacityTo", &F::OpacityTo, &F::SetOpacityTo),
        byteProperty("OpacityMirror", &F::OpacityMirror, &F::SetOpacityMirror),
        byteProperty("OpacityMirrorTo", &F::OpacityMirrorTo, &F::SetOpacityMirrorTo),
        colorProperty("BorderColor", true, &F::BorderColor, &F::SetBorderColor),
        byteProperty("BorderOpacity", &F::BorderOpacity, &F::SetBorderOpacity),
        int32Property("BorderWidth", &F::BorderWidth, &F::SetBorderWidth),
        int32Property("Rounding", &F::Rounding, &F::SetRounding, true),
        enumProperty("RoundingType", false, &F::RoundingType, &F::SetRoundingType),
        colorProperty("ShadowColor", false, &F::ShadowColor, &F::SetShadowColor),
        int32Property("ShadowOffset", &F::ShadowOffset, &F::SetShadowOffset, true),
        enumProperty("ShadowType", false, &F::ShadowType, &F::SetShadowType),
        int32Property("Angle", &F::Angle, &F::SetAngle),
        enumProperty("Glow", true, &F::Glow, &F::SetGlow),
        colorProperty("GlowGradientColor", false, &F::GlowGradientColor, &F::SetGlowGradientColor),
        colorProperty("GlowRadialColor", false, &F::GlowRadialColor, &F::SetGlowRadialColor),
    };
    return table;
}

const QLatin1String kObjectLine("object TSaver");
const QLatin1String kPrefix("SaveObject.");

} // namespace

QString TGradientFill::ClipboardMimeType()
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"Gradient Fill\"");
}

QByteArray TGradientFill::SaveToText() const
{
    const TGradientFill defaults;
    QString text = kObjectLine + QLatin1Char('\n');
    for (const Property &p : properties()) {
        const QString value = p.get(*this);
        if (value.isEmpty() || (!p.always && value == p.get(defaults))) {
            continue;
        }
        text += QLatin1String("  ") + kPrefix + QLatin1String(p.name) + QLatin1String(" = ") +
                value + QLatin1Char('\n');
    }
    text += QLatin1String("end\n");
    return text.toUtf8();
}

void TGradientFill::LoadFromText(const QByteArray &text)
{
    QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        line = line.trimmed();
    }
    lines.removeAll(QString());
    if (lines.size() < 2 || lines.first() != kObjectLine || lines.last() != QLatin1String("end")) {
        throw EFillConvertError("The clipboard text is not a gradient fill");
    }
    // Read into a fresh fill: settings the text leaves out are at their defaults.
    TGradientFill loaded;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QString &line = lines[i];
        const qsizetype eq = line.indexOf(QLatin1String(" = "));
        if (!line.startsWith(kPrefix) || eq < 0) {
            throw EFillConvertError(
                QStringLiteral("Invalid line in a gradient fill: %1").arg(line).toStdString());
        }
        const QString name = line.mid(kPrefix.size(), eq - kPrefix.size());
        const QString value = line.mid(eq + 3);
        for (const Property &p : properties()) {
            if (name == QLatin1String(p.name)) {
                if (!p.set(loaded, value)) {
                    throw EFillConvertError(
                        QStringLiteral("Invalid value of %1: %2").arg(name, value).toStdString());
                }
                break;
            }
        }
    }
    Assign(&loaded);
}

void TGradientFill::SaveToClipBoard() const
{
    auto *mime = new QMimeData;
    mime->setData(ClipboardMimeType(), SaveToText());
    QGuiApplication::clipboard()->setMimeData(mime);
}

void TGradientFill::LoadFromClipBoard()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(ClipboardMimeType())) {
        return;
    }
    LoadFromText(mime->data(ClipboardMimeType()));
}

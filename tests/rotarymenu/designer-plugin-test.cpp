// SPDX-License-Identifier: MIT
// The Designer plugin loaded as Qt Designer loads it: its widget, its form snippet and the
// properties Designer's editor lists.
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QMetaProperty>
#include <QPluginLoader>
#include <QWidget>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>

TEST(DesignerPlugin, OffersTheRotaryMenuWithItsPropertiesEditable)
{
    QPluginLoader loader(QStringLiteral(ZC_DESIGNER_PLUGIN));
    QObject *instance = loader.instance();
    ASSERT_NE(instance, nullptr) << loader.errorString().toStdString();
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(instance);
    ASSERT_NE(plugin, nullptr) << "not a Designer custom widget";

    EXPECT_EQ(plugin->name(), QStringLiteral("TRotaryMenu"));
    EXPECT_EQ(plugin->includeFile(), QStringLiteral("rotarymenu/rotarymenu.h"));
    EXPECT_FALSE(plugin->isContainer());
    plugin->initialize(nullptr);
    EXPECT_TRUE(plugin->isInitialized());

    // The form snippet is well-formed and names the class Designer will create.
    QXmlStreamReader xml(plugin->domXml());
    QString widgetClass;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"widget")
            widgetClass = xml.attributes().value(QStringLiteral("class")).toString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(widgetClass, plugin->name());

    QWidget parent;
    std::unique_ptr<QWidget> widget(plugin->createWidget(&parent));
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), "TRotaryMenu");
    // Designer's property editor lists what the meta-object declares writable.
    int writable = 0;
    for (int i = widget->metaObject()->propertyOffset(); i < widget->metaObject()->propertyCount();
         ++i) {
        const QMetaProperty property = widget->metaObject()->property(i);
        writable += property.isWritable() && property.isDesignable();
    }
    EXPECT_GE(writable, 15);
    EXPECT_TRUE(widget->setProperty("Animation", false));
    EXPECT_EQ(widget->property("Animation").toBool(), false);
}

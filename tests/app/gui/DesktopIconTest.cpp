// The application icon the viewer gives its windows is the desktop entry's icon, and it
// renders (the SVG icon engine is there and the drawing is not empty).
#include <gtest/gtest.h>

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace norq::test {
namespace {

TEST(DesktopIcon, TheWindowIconIsTheDesktopEntrysIconAndRenders) {
    const QString resource = QStringLiteral(":/app/org.norq.AisViewer.svg");
    ASSERT_TRUE(QFile::exists(resource));

    QFile entry(QStringLiteral(NORQ_SOURCE_DIR "/data/desktop/org.norq.AisViewer.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(entry.readAll())
                    .split(QLatin1Char('\n'))
                    .contains(QStringLiteral("Icon=org.norq.AisViewer")));

    const QImage image = QIcon(resource).pixmap(48, 48).toImage();
    ASSERT_EQ(image.size(), QSize(48, 48));
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 200 ? 1 : 0;
    EXPECT_GT(opaque, 48 * 48 / 2);  // the rounded square fills most of it
}

}  // namespace
}  // namespace norq::test

#include "dialogs/SplashAbout.h"

#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A label that paints the programs' picture.
class TPictureLabel : public QWidget {
public:
    explicit TPictureLabel(QWidget *parent) : QWidget(parent) { setFixedSize(96, 112); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        DrawProgramPicture(painter, rect());
    }
};

void CentreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace

void DrawProgramPicture(QPainter &painter, const QRectF &rect)
{
    // Drawn on a 100 x 116 grid, scaled to the rectangle with its proportions kept.
    const qreal scale = std::min(rect.width() / 100.0, rect.height() / 116.0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center().x() - 50 * scale, rect.center().y() - 58 * scale);
    painter.scale(scale, scale);

    // The sheet with a folded corner and a soft shadow.
    QPainterPath sheet;
    sheet.moveTo(8, 4);
    sheet.lineTo(72, 4);
    sheet.lineTo(92, 24);
    sheet.lineTo(92, 110);
    sheet.lineTo(8, 110);
    sheet.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawPath(sheet.translated(3, 3));
    painter.setBrush(QColor(0xFD, 0xFD, 0xFA));
    painter.setPen(QPen(QColor(0x6B, 0x76, 0x84), 1.6));
    painter.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(72, 4);
    fold.lineTo(72, 24);
    fold.lineTo(92, 24);
    painter.setBrush(QColor(0xE3, 0xE7, 0xEC));
    painter.drawPath(fold);

    // Header line, then three questions, each a box and a line of text.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2F, 0x5D, 0x8A));
    painter.drawRoundedRect(QRectF(18, 14, 40, 6), 3, 3);
    for (int i = 0; i < 3; ++i) {
        const qreal y = 36 + i * 22;
        painter.setPen(QPen(QColor(0x6B, 0x76, 0x84), 1.4));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(18, y, 9, 9));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xB8, 0xC2, 0xCE));
        painter.drawRoundedRect(QRectF(33, y + 1.5, i == 1 ? 34 : 48, 5), 2.5, 2.5);
        painter.drawRoundedRect(QRectF(33, y + 9.5, 26, 3.5), 1.75, 1.75);
    }

    // The check mark, crossing the first box and the sheet's edge.
    QPainterPath check;
    check.moveTo(16, 36);
    check.lineTo(24, 46);
    check.lineTo(44, 22);
    QPen checkPen(QColor(0x2E, 0x9D, 0x4A), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(checkPen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(check);

    // A red pen mark under the last question: the sheet is being graded.
    painter.setPen(QPen(QColor(0xC8, 0x3A, 0x3A), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(60, 96), QPointF(84, 96));
    painter.drawLine(QPointF(64, 101), QPointF(80, 101));
    painter.restore();
}

TNvSplashScreen::TNvSplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("NvSplashScreen"));
    setFixedSize(440, 250);
    FTimer->setSingleShot(true);
    connect(FTimer, &QTimer::timeout, this, &QWidget::close);
}

void TNvSplashScreen::Execute()
{
    CentreOnScreen(this);
    show();
    raise();
    FTimer->start(std::max(0, DisplayTime));
}

void TNvSplashScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();

    QLinearGradient background(area.topLeft(), area.bottomLeft());
    background.setColorAt(0, QColor(0xF7, 0xF9, 0xFC));
    background.setColorAt(1, QColor(0xE4, 0xEA, 0xF2));
    painter.fillRect(area, background);
    painter.fillRect(QRectF(0, 0, area.width(), 6), QColor(0x2F, 0x5D, 0x8A));
    painter.setPen(QPen(QColor(0x8A, 0x97, 0xA8), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));

    DrawProgramPicture(painter, QRectF(28, 48, 130, 150));

    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2.6);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(QColor(0x1F, 0x3B, 0x5A));
    const QRectF textArea(180, 70, area.width() - 200, 60);
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom, Title);

    QFont versionFont = font();
    versionFont.setPointSizeF(versionFont.pointSizeF() * 1.15);
    painter.setFont(versionFont);
    painter.setPen(QColor(0x4A, 0x55, 0x63));
    painter.drawText(QRectF(182, 136, area.width() - 200, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Version ") + Version);
}

void TNvSplashScreen::mousePressEvent(QMouseEvent *)
{
    close();
}

TNvAboutBox::TNvAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("NvAboutBox"));
}

void TNvAboutBox::Build()
{
    setWindowTitle(CaptionText());
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    row->setSpacing(18);
    row->addWidget(new TPictureLabel(this), 0, Qt::AlignTop);

    auto *texts = new QVBoxLayout;
    auto *title = new QLabel(Title, this);
    title->setObjectName(QStringLiteral("Label_Title"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto *version = new QLabel(QStringLiteral("Version ") + Version, this);
    version->setObjectName(QStringLiteral("Label_Version"));
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addStretch();
    row->addLayout(texts, 1);
    layout->addLayout(row);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn_OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void TNvAboutBox::Execute()
{
    const TShownBox box{TBoxKind::Window, CaptionText(), Title + QStringLiteral("\nVersion ") + Version, BtnOK};
    if (TDialogSeam::Intercept(box, nullptr))
        return;
    if (!layout())
        Build();
    exec();
}

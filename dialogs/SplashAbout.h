#pragma once

#include <QDialog>
#include <QWidget>

class QPainter;
class QRectF;
class QTimer;

// The version both programs show.
inline constexpr char ProgramVersion[] = "3.7.3";

// The programs' picture: a test paper with a check mark, drawn to fit rect.
void DrawProgramPicture(QPainter &painter, const QRectF &rect);

// The window shown while a program starts: the picture, the program's title and
// its version. Execute shows it and returns at once; it closes itself after
// DisplayTime milliseconds, or when clicked.
class TNvSplashScreen : public QWidget {
    Q_OBJECT

public:
    explicit TNvSplashScreen(QWidget *parent = nullptr);

    QString Title;
    QString Version = QString::fromLatin1(ProgramVersion);
    int DisplayTime = 4000;

    void Execute();
    bool Showing() const { return isVisible(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QTimer *FTimer;
};

// The about box of the Help menu: the picture, the title and the version.
class TNvAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TNvAboutBox(QWidget *parent = nullptr);

    QString Title;
    QString Version = QString::fromLatin1(ProgramVersion);

    // Shows the box modally (through the dialog seam, so tests record it).
    void Execute();
    QString CaptionText() const { return QStringLiteral("About ") + Title; }

private:
    void Build();
};

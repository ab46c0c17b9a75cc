// The plain reference of the start-up benchmark: the chat program's three windows written
// plainly, with no logic at all. The main window with the same menu bar and menus, a transcript
// holding two banner lines, a hidden station panel, the input bar with its line and "Send", and
// the status bar's three labels, in the same fonts; a hidden Options dialog with its tab page,
// the font list filled from the font database, the size and style lists, three colour lists of
// 47 entries with swatches and a two-line preview; a hidden About window with four text lines,
// a text view and OK. All are made before the main window shows, as the program makes its own.

#include "StartupProbe.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const QString Face = QStringLiteral("MS Sans Serif");
constexpr int ColorEntries = 47;

void fillMenus(QMainWindow &window)
{
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Save..."))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"));
    QMenu *tools = window.menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addAction(QStringLiteral("Options..."));
    tools->addSeparator();
    for (const QString &name : {QStringLiteral("Show Date/Time"), QStringLiteral("Show Station Text"),
                                QStringLiteral("Always On Top")}) {
        tools->addAction(name)->setCheckable(true);
    }
    tools->actions().at(2)->setChecked(true);
    tools->addSeparator();
    tools->addAction(QStringLiteral("Clear screen"));
    window.menuBar()->addAction(QStringLiteral("&About"));
}

QLabel *statusLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont bold(Face, 10);
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    label->setAutoFillBackground(true);
    return label;
}

void fillMainWindow(QMainWindow &window)
{
    window.setFont(QFont(Face, 8));
    fillMenus(window);
    auto *central = new QWidget;
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *upper = new QHBoxLayout;
    auto *transcript = new QTextEdit;
    transcript->setReadOnly(true);
    transcript->append(QStringLiteral("TarnWave Chat Version 1.30"));
    transcript->append(QStringLiteral("Checked for update"));
    upper->addWidget(transcript, 1);
    auto *stations = new QPlainTextEdit;
    stations->setFixedWidth(244);
    stations->hide();
    upper->addWidget(stations);
    column->addLayout(upper, 1);

    auto *input = new QFrame;
    input->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    input->setFixedHeight(26);
    auto *inputRow = new QHBoxLayout(input);
    inputRow->setContentsMargins(0, 0, 3, 0);
    auto *line = new QLineEdit;
    line->setFont(QFont(Face, 10));
    inputRow->addWidget(line, 1);
    inputRow->addWidget(new QPushButton(QStringLiteral("Send")));
    column->addWidget(input);

    auto *status = new QFrame;
    status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->setFixedHeight(22);
    auto *statusRow = new QHBoxLayout(status);
    statusRow->setContentsMargins(2, 0, 0, 0);
    statusRow->addWidget(statusLabel(QStringLiteral("Disconnect"), status));
    statusRow->addWidget(statusLabel(QString(), status));
    statusRow->itemAt(1)->widget()->hide();
    statusRow->addStretch(1);
    statusRow->addWidget(statusLabel(QStringLiteral("RX"), status));
    statusRow->itemAt(3)->widget()->hide();
    column->addWidget(status);

    window.setCentralWidget(central);
    window.resize(492, 296);
    line->setFocus();
}

QComboBox *colorList(QWidget *page, const QRect &geometry)
{
    auto *list = new QComboBox(page);
    list->setGeometry(geometry);
    for (int i = 0; i < ColorEntries; ++i) {
        QPixmap swatch(16, 12);
        swatch.fill(QColor::fromHsv(i * 360 / ColorEntries, 200, 200));
        QPainter painter(&swatch);
        painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
        painter.end();
        list->addItem(QIcon(swatch), QStringLiteral("clColor%1").arg(i));
    }
    return list;
}

void fillOptions(QDialog &dialog)
{
    dialog.setFont(QFont(Face, 8));
    dialog.setFixedSize(322, 360);
    auto *tabs = new QTabWidget(&dialog);
    tabs->setGeometry(8, 8, 305, 305);
    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("Font"));
    auto *faces = new QComboBox(page);
    faces->setEditable(true);
    faces->setGeometry(8, 56, 145, 21);
    faces->addItems(QFontDatabase::families());
    auto *sizes = new QComboBox(page);
    sizes->setEditable(true);
    sizes->setGeometry(160, 56, 49, 21);
    for (const int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        sizes->addItem(QString::number(size));
    auto *styles = new QComboBox(page);
    styles->setGeometry(216, 56, 73, 21);
    styles->addItems({QStringLiteral("Regular"), QStringLiteral("Bold"), QStringLiteral("Italic"),
                      QStringLiteral("Bold Italic")});
    colorList(page, {159, 97, 130, 22});
    colorList(page, {159, 127, 130, 22});
    colorList(page, {159, 157, 130, 22});
    auto *preview = new QTextEdit;
    preview->setFixedHeight(65);
    preview->setFont(QFont(Face, 10));
    preview->setPlainText(QStringLiteral("My Text Chat\nReceived Text"));
    auto *dock = new QVBoxLayout(page);
    dock->addStretch(1);
    dock->addWidget(preview);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(152, 327, 75, 25);
}

void fillAbout(QDialog &dialog)
{
    dialog.setFont(QFont(Face, 8));
    dialog.setFixedSize(321, 368);
    const QStringList lines{QString(), QStringLiteral("TarnWave Chat"), QStringLiteral("Version 1.30"), QString()};
    for (int i = 0; i < lines.size(); ++i) {
        auto *label = new QLabel(lines.at(i), &dialog);
        label->setFont(QFont(Face, 10));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(0, i * 20, 321, 20);
    }
    auto *text = new QTextBrowser(&dialog);
    text->setGeometry(0, 80, 321, 249);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(120, 336, 81, 25);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    fillMainWindow(window);
    QDialog about(&window);
    fillAbout(about);
    QDialog options(&window);
    fillOptions(options);
    new StartupProbe(window);
    window.show();
    return QApplication::exec();
}

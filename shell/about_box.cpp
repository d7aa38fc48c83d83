#include "shell/about_box.h"

#include "shell/system_info.h"
#include "ui/artwork/artwork.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace shell {

namespace {

constexpr int kIconSize = 64; // the 32 x 32 icon at twice its size
constexpr int kTileMargin = 6;
constexpr int kShadowOffset = 4;
constexpr int kOpeningMilliseconds = 150;

// The band behind the box's title: a gradient from deep blue to the window colour.
class TitleBand : public QWidget {
public:
    TitleBand(const QString& title, QWidget* parent) : QWidget(parent), m_title(title) {
        setFixedHeight(28);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QLinearGradient gradient(rect().topLeft(), rect().topRight());
        gradient.setColorAt(0.0, QColor(0, 0, 128));
        gradient.setColorAt(1.0, QColor(16, 132, 208));
        painter.fillRect(rect(), gradient);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, m_title);
    }

private:
    QString m_title;
};

// The program icon doubled, on a raised tile that casts a shadow to the lower right.
class IconTile : public QWidget {
public:
    explicit IconTile(QWidget* parent) : QWidget(parent) {
        const int side = kIconSize + 2 * kTileMargin + kShadowOffset;
        setFixedSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect tile(0, 0, kIconSize + 2 * kTileMargin, kIconSize + 2 * kTileMargin);
        painter.fillRect(tile.translated(kShadowOffset, kShadowOffset), QColor(0, 0, 0, 110));
        painter.fillRect(tile, palette().button());
        painter.setPen(palette().light().color());
        painter.drawLine(tile.topLeft(), tile.topRight());
        painter.drawLine(tile.topLeft(), tile.bottomLeft());
        painter.setPen(palette().dark().color());
        painter.drawLine(tile.bottomLeft(), tile.bottomRight());
        painter.drawLine(tile.topRight(), tile.bottomRight());
        // Drawn at twice its size and the screen's pixel density: crisp, never blurred.
        const QImage icon = ui::artwork::programIconImage(qRound(kIconSize * devicePixelRatio()));
        painter.drawImage(QRect(kTileMargin, kTileMargin, kIconSize, kIconSize), icon);
    }
};

// Sunken lettering: a light copy of the text one pixel below and right, the dark
// text over it, as if pressed into the surface.
class SunkenLabel : public QLabel {
public:
    SunkenLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

    QSize sizeHint() const override { return QLabel::sizeHint() + QSize(1, 1); }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        const QRect area = contentsRect().adjusted(0, 0, -1, -1);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter;
        painter.setPen(palette().light().color());
        painter.drawText(area.translated(1, 1), flags, text());
        painter.setPen(palette().dark().color().darker(160));
        painter.drawText(area, flags, text());
    }
};

// The rectangle that grows from the centre to the box's edges as it opens.
class OpeningFrame : public QWidget {
public:
    explicit OpeningFrame(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().windowText().color(), 2, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
};

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QFont AboutBox::nameFont() {
    const QStringList families = QFontDatabase::families();
    QString family = QStringLiteral("Arial");
    for (const QString& candidate : {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                     QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")}) {
        if (families.contains(candidate, Qt::CaseInsensitive)) {
            family = candidate;
            break;
        }
    }
    QFont font(family, 22, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About the Object Data Editor"));
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(new TitleBand(windowTitle(), this));

    auto* body = new QVBoxLayout;
    body->setContentsMargins(14, 12, 14, 12);
    body->setSpacing(6);
    outer->addLayout(body);

    auto* head = new QHBoxLayout;
    head->setSpacing(14);
    head->addWidget(new IconTile(this), 0, Qt::AlignTop);
    auto* headText = new QVBoxLayout;
    m_nameLabel = new SunkenLabel(QStringLiteral("Corvane Object Data Editor"), this);
    m_nameLabel->setFont(nameFont());
    headText->addWidget(m_nameLabel);
    headText->addWidget(plainLabel(QStringLiteral("Version: 2  Build:0"), this));
    auto* description =
        plainLabel(QStringLiteral("A fine little tool for editing Corvane OBJDAT files."), this);
    description->setWordWrap(true);
    headText->addWidget(description);
    headText->addStretch();
    head->addLayout(headText, 1);
    body->addLayout(head);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    body->addWidget(separator);

    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(10);
    facts->addWidget(plainLabel(QStringLiteral("Available Memory:"), this), 0, 0);
    facts->addWidget(plainLabel(formatKilobytes(availableMemoryKilobytes()), this), 0, 1);
    facts->addWidget(plainLabel(QStringLiteral("Platform, CPU:"), this), 1, 0);
    auto* processors = plainLabel(platformAndProcessors(), this);
    processors->setWordWrap(true);
    facts->addWidget(processors, 1, 1);
    facts->setColumnStretch(1, 1);
    body->addLayout(facts);

    auto* buttons = new QDialogButtonBox(this);
    m_okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_okButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    body->addWidget(buttons);

    setWindowIcon(ui::artwork::windowIcon());
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));

    m_openingFrame = new OpeningFrame(this);
    m_openingFrame->hide();
    m_opening = new QVariantAnimation(this);
    m_opening->setDuration(kOpeningMilliseconds);
    m_opening->setStartValue(0.0);
    m_opening->setEndValue(1.0);
    connect(m_opening, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const double grown = value.toDouble();
        const QSize size(qMax(2, qRound(width() * grown)), qMax(2, qRound(height() * grown)));
        QRect frame(QPoint(), size);
        frame.moveCenter(rect().center());
        m_openingFrame->setGeometry(frame);
    });
    connect(m_opening, &QVariantAnimation::finished, this, [this] { m_openingFrame->hide(); });
}

bool AboutBox::isOpening() const {
    return m_opening->state() == QAbstractAnimation::Running;
}

void AboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_openingFrame->setGeometry(QRect(rect().center(), QSize(2, 2)));
    m_openingFrame->raise();
    m_openingFrame->show();
    m_opening->start();
}

void AboutBox::hideEvent(QHideEvent* event) {
    finishOpening();
    QDialog::hideEvent(event);
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    finishOpening();
    QDialog::keyPressEvent(event);
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    finishOpening();
    QDialog::mousePressEvent(event);
}

void AboutBox::finishOpening() {
    if (!isOpening())
        return;
    m_opening->stop();
    m_openingFrame->hide();
}

} // namespace shell

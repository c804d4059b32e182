#include "signin/welcome.h"

#include "signin/signin.h"
#include "signin/typedtext.h"
#include "ui/designelements.h"
#include "ui/info.h"
#include "ui/twips.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <algorithm>

namespace voltmetr {

namespace {

// Keeps a text box's text as signInText() makes it, whether typed, pasted or set, so that the
// pupil sees exactly what the run will hold.
class SignInTextValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override
    {
        input = signInText(input);
        position = std::min(position, static_cast<int>(input.size()));
        return Acceptable;
    }
};

} // namespace

Welcome::Welcome(WindowContext& context, QWidget* parent)
    : QDialog(parent, fixedDialogFlags), m_context(context)
{
    setWindowTitle(QStringLiteral("Vítejte"));
    setFixedClientTwips(*this, 4530, 3000);
    const QFont font = designFont(QStringLiteral("MS Sans Serif"), 8.25);
    setFont(font);
    const auto label = [this, &font](const char* name, const QString& caption, int left, int top,
                                     int width, int height) {
        return makeLabel(*this, {QString::fromLatin1(name), caption, left, top, width, height, font,
                                 Qt::AlignLeft | Qt::AlignVCenter});
    };
    const auto option = [this](const char* name, const QString& caption, int top) {
        auto* button = new QRadioButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        // Nothing stands to the right of the options, so they take the window's width: the
        // substitute font is wider than the one the window was laid out for.
        placeTwips(*button, 120, top, 4290, 255);
        return button;
    };
    const auto textBox = [this](const char* name, int maxLength, int left, int top, int width) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setMaxLength(maxLength);
        box->setValidator(new SignInTextValidator(box));
        placeTwips(*box, left, top, width, 285);
        return box;
    };

    m_schoolMode = option("conn0", QStringLiteral("&Připojit k lokálnímu školnímu serveru"), 120);
    m_usersLabel = label("lblUsers", QStringLiteral("&Vyber svůj profil:"), 360, 525, 1155, 195);
    m_users = new QComboBox(this);
    m_users->setObjectName(QStringLiteral("Users"));
    placeTwips(*m_users, 1560, 480, 2760, 315);
    m_usersLabel->setBuddy(m_users);
    // The label's caption runs past the list's left edge in the substitute font; the list
    // gives way and keeps its right edge.
    const QRect list = m_users->geometry();
    const int captionEnd =
        m_usersLabel->x() +
        m_usersLabel->fontMetrics().size(Qt::TextShowMnemonic, m_usersLabel->text()).width();
    if (captionEnd + 4 > list.left()) {
        m_users->setGeometry(QRect(QPoint(captionEnd + 4, list.top()), list.bottomRight()));
    }

    m_emailMode = option("conn1", QStringLiteral("&Generovat data pro odeslání emailem"), 1080);
    m_nameLabel = label("lblJm", QStringLiteral("&Jméno:"), 360, 1440, 615, 255);
    m_name = textBox("Jm", 50, 1080, 1440, 2295);
    m_nameLabel->setBuddy(m_name);
    m_classLabel = label("lblTr", QStringLiteral("&Třída:"), 360, 1800, 495, 255);
    m_class = textBox("Tr", 10, 1080, 1800, 1095);
    m_classLabel->setBuddy(m_class);

    QPushButton* about = makeButton(*this, QStringLiteral("Command3"),
                                    QStringLiteral("&O programu"), 120, 2520, 1455, 375, font);
    QPushButton* ok = makeButton(*this, QStringLiteral("Command1"), QStringLiteral("&OK"), 2160,
                                 2520, 1095, 375, font);
    ok->setDefault(true);
    QPushButton* cancel = makeButton(*this, QStringLiteral("Command2"), QStringLiteral("&Zruš"),
                                     3360, 2520, 1095, 375, font);

    setTabOrder(m_schoolMode, m_users);
    setTabOrder(m_users, m_emailMode);
    setTabOrder(m_emailMode, m_name);
    setTabOrder(m_name, m_class);
    setTabOrder(m_class, about);
    setTabOrder(about, ok);
    setTabOrder(ok, cancel);

    auto* modes = new QButtonGroup(this);
    modes->addButton(m_schoolMode);
    modes->addButton(m_emailMode);
    m_schoolMode->setChecked(true);
    connect(modes, &QButtonGroup::buttonClicked, this, &Welcome::ApplyMode);
    connect(ok, &QPushButton::clicked, this, &Welcome::Confirm);
    connect(cancel, &QPushButton::clicked, this, [this] { m_context.host.endProgram(); });
    connect(about, &QPushButton::clicked, this, &Welcome::showAbout);

    LoadProfiles();
    ApplyMode();
}

void Welcome::LoadProfiles()
{
    const SignInOffer offer = offerSignIn(m_context.host);
    for (const Profile& pupil : offer.pupils) {
        m_users->addItem(profileEntry(pupil));
    }
    // The list makes its first entry current as it fills; nobody is chosen until the pupil
    // chooses, or Enter would sign the pupil in under someone else's name.
    m_users->setCurrentIndex(-1);
    m_schoolMode->setEnabled(offer.schoolMode);
    m_emailMode->setChecked(!offer.schoolMode);
}

void Welcome::ApplyMode()
{
    const bool school = m_schoolMode->isChecked();
    m_usersLabel->setEnabled(school);
    m_users->setEnabled(school);
    m_nameLabel->setEnabled(!school);
    m_name->setEnabled(!school);
    m_classLabel->setEnabled(!school);
    m_class->setEnabled(!school);
}

void Welcome::Confirm()
{
    SignInChoice choice{m_emailMode->isChecked(), std::nullopt, m_name->text(), m_class->text()};
    if (m_users->currentIndex() >= 0) {
        choice.profileEntry = m_users->currentText();
    }
    if (!startRun(choice, m_context.host, m_context.state, m_context.coder)) {
        return;
    }
    m_context.flow().openExercise();
    // done() hides the window without the close event, which would end the program.
    done(QDialog::Accepted);
}

void Welcome::showAbout()
{
    info about(m_context, this);
    m_context.host.showModal(about);
}

void Welcome::keyPressEvent(QKeyEvent* event)
{
    // Esc is not a button of this window: the pupil leaves only through "Zruš".
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Welcome::closeEvent(QCloseEvent* event)
{
    // Closing the window from the desktop is "Zruš": nothing is stored, the program ends.
    event->ignore();
    m_context.host.endProgram();
}

} // namespace voltmetr

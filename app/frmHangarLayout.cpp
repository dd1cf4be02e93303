// The window's controls as laid out at 96 dots per inch, before start-up changes any of them.

#include "KeyPressFilter.h"
#include "WindowFont.h"
#include "frmHangar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPixmapCache>
#include <QPushButton>
#include <QShortcut>

namespace {

template <typename Widget>
Widget* place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// The picture scaled to fill its box, proportions not kept. It is scaled once per run rather
// than at every paint, as a label with scaled contents would.
QLabel* picture(QWidget* parent, const char* name, const QString& resource, QRect box)
{
    auto* label = place<QLabel>(parent, name, box.x(), box.y(), box.width(), box.height());
    const QString key = resource + QLatin1Char('@') + QString::number(box.width()) +
                        QLatin1Char('x') + QString::number(box.height());
    QPixmap scaled;
    if (!QPixmapCache::find(key, &scaled)) {
        scaled =
            QPixmap(resource).scaled(box.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPixmapCache::insert(key, scaled);
    }
    label->setPixmap(scaled);
    return label;
}

QLabel* contactLabel(QWidget* parent, const char* name, const QString& text, int top)
{
    auto* label = place<QLabel>(parent, name, 360, top, 145, 25);
    label->setText(text);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(windowFont(11, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    label->setPalette(palette);
    return label;
}

QLabel* opaqueLabel(QWidget* parent, const char* name, const QString& text, QRect box)
{
    auto* label = place<QLabel>(parent, name, box.x(), box.y(), box.width(), box.height());
    label->setText(text);
    label->setAutoFillBackground(true);
    return label;
}

QComboBox* configList(QWidget* parent, const char* name, int top)
{
    auto* list = place<QComboBox>(parent, name, 56, top, 281, 24);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    list->setFont(windowFont(13));
    list->setEditText(QStringLiteral("FS Original"));
    return list;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect box)
{
    auto* pushButton =
        place<QPushButton>(parent, name, box.x(), box.y(), box.width(), box.height());
    pushButton->setText(caption);
    return pushButton;
}

} // namespace

void frmHangar::createControls()
{
    setObjectName(QStringLiteral("frmHangar"));
    setWindowTitle(QStringLiteral("Hangar for FS 2004"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/hangar.ico")));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(553, 446);
    setFont(windowFont(11));

    // Created bottom first: the white band, the pictures and the labels lie beneath the frames
    // and the controls that take the focus.
    lblFond = place<QLabel>(this, "lblFond", 0, 0, 681, 113);
    lblFond->setAutoFillBackground(true);
    QPalette white = lblFond->palette();
    white.setColor(QPalette::Window, Qt::white);
    lblFond->setPalette(white);

    imgCorvane0 =
        picture(this, "imgCorvane0", QStringLiteral(":/pictures/logo.gif"), {16, 8, 254, 93});
    imgCorvane1 =
        picture(this, "imgCorvane1", QStringLiteral(":/pictures/wordmark.jpg"), {312, 8, 230, 73});
    Label3_0 = contactLabel(this, "Label3_0", QStringLiteral("www.example.org/hangar"), 72);
    Label3_1 = contactLabel(this, "Label3_1", QStringLiteral("hangar@example.org"), 88);
    lblVersion = opaqueLabel(this, "lblVersion", QStringLiteral("Version"), {229, 432, 313, 17});
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignTop);

    Frame2 = place<QGroupBox>(this, "Frame2", 8, 128, 537, 145);
    Frame2->setTitle(QStringLiteral("Flight Simulator configuration"));
    lblLastConfigName =
        opaqueLabel(Frame2, "lblLastConfigName", QStringLiteral("Last configuration loaded"),
                    {56, 128, 465, 17});
    cboConfigName = configList(Frame2, "cboConfigName", 32);
    // Choosing an entry is the only way to change the load list's text: no typing, pasting or
    // dropping into its field.
    cboConfigName->lineEdit()->setReadOnly(true);
    chkSaveActivation = place<QCheckBox>(Frame2, "chkSaveActivation", 384, 32, 105, 25);
    chkSaveActivation->setText(QStringLiteral("Save activation"));
    cmdLOAD = button(Frame2, "cmdLOAD", QStringLiteral("LOAD"), {64, 72, 257, 25});
    cmdQuit = button(Frame2, "cmdQuit", QStringLiteral("Quit"), {384, 72, 105, 25});
    cmdQuit->setDefault(true);
    cmdSAVE = button(Frame2, "cmdSAVE", QStringLiteral("Save"), {64, 56, 113, 25});
    cmdSAVE->setFont(windowFont(11, true));
    cmdSAVE->hide();
    cmdREMOVE = button(Frame2, "cmdREMOVE", QStringLiteral("Remove"), {208, 56, 113, 25});
    cmdREMOVE->setFont(windowFont(11, true));
    cmdREMOVE->hide();
    cboConfigNameTO = configList(Frame2, "cboConfigNameTO", 104);
    cboConfigNameTO->hide();
    // Where a user finds, without a manual, that nothing these buttons replace is lost.
    const QString keys =
        QStringLiteral("%1 puts it back; %2 lists every kept pair.")
            .arg(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText),
                 historyKeys().toString(QKeySequence::NativeText));
    cmdLOAD->setToolTip(
        QStringLiteral("Copies this configuration over FS9.cfg and Scenery.cfg. The pair it "
                       "replaces is kept: ") +
        keys);
    cmdSAVE->setToolTip(QStringLiteral("Saves FS9.cfg and Scenery.cfg under the name below. A "
                                       "configuration it saves over is kept: ") +
                        keys);
    cmdREMOVE->setToolTip(
        QStringLiteral("Deletes the two files of the configuration named below. They are kept: ") +
        keys);

    Frame1 = place<QGroupBox>(this, "Frame1", 8, 288, 537, 145);
    Frame1->setTitle(QStringLiteral("Folders"));
    Label1 =
        opaqueLabel(Frame1, "Label1", QStringLiteral("Locate file FS9.cfg"), {24, 32, 465, 17});
    txtFS9Folder = place<QLineEdit>(Frame1, "txtFS9Folder", 24, 48, 465, 25);
    txtFS9Folder->setText(QStringLiteral("Flight Simulator folder"));
    cmdFS9folder = button(Frame1, "cmdFS9folder", QStringLiteral("..."), {488, 48, 25, 25});
    Label2 =
        opaqueLabel(Frame1, "Label2", QStringLiteral("Locate file Scenery.cfg"), {24, 80, 465, 17});
    txtSceFolder = place<QLineEdit>(Frame1, "txtSceFolder", 24, 96, 465, 25);
    txtSceFolder->setText(QStringLiteral("Scenery folder"));
    cmdSceFolder = button(Frame1, "cmdSceFolder", QStringLiteral("..."), {488, 96, 25, 25});

    setTabOrder(cboConfigName, cmdLOAD);
    setTabOrder(cmdLOAD, chkSaveActivation);
    setTabOrder(chkSaveActivation, cmdSAVE);
    setTabOrder(cmdSAVE, cmdQuit);
    setTabOrder(cmdQuit, txtFS9Folder);
    setTabOrder(txtFS9Folder, cmdFS9folder);
    setTabOrder(cmdFS9folder, txtSceFolder);
    setTabOrder(txtSceFolder, cmdSceFolder);
    setTabOrder(cmdSceFolder, cboConfigNameTO);
    setTabOrder(cboConfigNameTO, cmdREMOVE);
    cboConfigName->setFocus();
}

void frmHangar::wireEvents()
{
    connect(cboConfigName, &QComboBox::editTextChanged, this, [this] { cboConfigName_Change(); });
    connect(cboConfigName, &QComboBox::activated, this, [this] { cboConfigName_Click(); });
    new KeyPressFilter(cboConfigName, [this](int& key) { cboConfigName_KeyPress(key); });
    connect(cboConfigNameTO, &QComboBox::editTextChanged, this,
            [this] { cboConfigNameTO_Change(); });
    connect(cboConfigNameTO, &QComboBox::activated, this, [this] { cboConfigNameTO_Click(); });
    new KeyPressFilter(cboConfigNameTO, [this](int& key) { cboConfigNameTO_KeyPress(key); });
    connect(chkSaveActivation, &QCheckBox::toggled, this, [this] { chkSaveActivation_Click(); });
    connect(cmdLOAD, &QPushButton::clicked, this, [this] { cmdLOAD_Click(); });
    connect(cmdSAVE, &QPushButton::clicked, this, [this] { cmdSAVE_Click(); });
    connect(cmdREMOVE, &QPushButton::clicked, this, [this] { cmdREMOVE_Click(); });
    connect(cmdQuit, &QPushButton::clicked, this, [this] { cmdQuit_Click(); });
    connect(cmdFS9folder, &QPushButton::clicked, this, [this] { cmdFS9folder_Click(); });
    connect(cmdSceFolder, &QPushButton::clicked, this, [this] { cmdSceFolder_Click(); });
    // Undo works wherever the focus is but in a text box, whose own Undo takes the key first.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            [this] { Form_Undo(); });
    connect(new QShortcut(historyKeys(), this), &QShortcut::activated, this,
            [this] { Form_History(); });
}

QKeySequence frmHangar::historyKeys()
{
    return {Qt::CTRL | Qt::Key_H};
}

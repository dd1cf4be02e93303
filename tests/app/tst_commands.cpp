#include "WindowFixture.h"

#include <QInputMethodEvent>
#include <QMimeData>

using Step = FaultyFileSystem::Step;
Q_DECLARE_METATYPE(FaultyFileSystem::Step)

namespace {

const QStringList nightDawn{u"FS Original"_s, u"Night"_s, u"Dawn"_s};

WindowFixture& openOnNightAndDawn(WindowFixture& f)
{
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\nLastConfig=Night\r\n");
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    f.open();
    return f;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void typingIntoTheLists_data();
    void typingIntoTheLists();
    void everyFailedStepKeepsListsTrue_data();
    void everyFailedStepKeepsListsTrue();
    void folderPickersStartAtTheBoxesFolders();
};

void TestCommands::typingIntoTheLists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("before"); // the field's text; [ ] marks a selection, | the cursor
    QTest::addColumn<int>("key");        // 0: an input method commits the text; -1: a drop
    QTest::addColumn<QString>("text");   // that the key carries, as a real keyboard sends it
    QTest::addColumn<QString>("after");
    const QString load = u"cboConfigName"_s, save = u"cboConfigNameTO"_s;
    const auto n = [](int count) { return QString(count, u'n'); };
    QTest::newRow("load list: a typed character is discarded")
        << load << u"FS Original|"_s << int(Qt::Key_X) << u"x"_s << u"FS Original"_s;
    QTest::newRow("load list: Ctrl+A selects nothing, the handler discards it")
        << load << u"FS Original|"_s << int(Qt::Key_A) << u"\1"_s << u"FS Original"_s;
    QTest::newRow("load list: a drop changes nothing, the field is read-only")
        << load << u"FS Original|"_s << -1 << u"Dropped"_s << u"FS Original"_s;
    QTest::newRow("save list: 15 characters take a 16th")
        << save << n(15) << int(Qt::Key_X) << u"x"_s << n(15) + u'x';
    QTest::newRow("save list: 16 refuse a 17th, over a selection too")
        << save << u'[' + n(16) + u']' << int(Qt::Key_X) << u"x"_s << u'[' + n(16) + u']';
    QTest::newRow("save list: 16 refuse Backspace")
        << save << n(16) << int(Qt::Key_Backspace) << u"\b"_s << n(16);
    QTest::newRow("save list: 15 take Backspace")
        << save << n(15) << int(Qt::Key_Backspace) << u"\b"_s << n(14);
    QTest::newRow("save list: Delete (character 127 on X11) still shortens 16")
        << save << u'|' + n(16) << int(Qt::Key_Delete) << u"\x7f"_s << n(15);
    QTest::newRow("save list: input method text stops at 16 too")
        << save << n(14) << 0 << u"xyz"_s << n(14) + u"xy"_s;
}

void TestCommands::typingIntoTheLists()
{
    QFETCH(QString, list);
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, after);
    WindowFixture f;
    f.open();
    if (list == u"cboConfigNameTO"_s)
        f.click(u"chkSaveActivation"_s);
    auto* combo = f.get<QComboBox>(list);
    QWidget* focused = f.focus(combo);
    QLineEdit* field = combo->lineEdit();
    if (!before.isNull())
        combo->setEditText(QString(before).remove(u'[').remove(u']').remove(u'|'));
    if (before.contains(u'['))
        field->selectAll();
    if (before.contains(u'|'))
        field->setCursorPosition(before.indexOf(u'|'));
    QInputMethodEvent committed;
    committed.setCommitString(text);
    QMimeData dropped;
    dropped.setText(text);
    // A drop reaches the widget under the mouse, whichever has the focus.
    QWidget* underMouse = combo->childAt(combo->rect().center());
    const QPoint at = underMouse->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QKeyEvent press(QEvent::KeyPress, key, text == u"\1"_s ? Qt::ControlModifier : Qt::NoModifier,
                    text);
    if (key == -1) {
        QApplication::sendEvent(underMouse, &enter);
        QApplication::sendEvent(underMouse, &drop);
    } else {
        QApplication::sendEvent(focused, key == 0 ? static_cast<QEvent*>(&committed) : &press);
    }
    QString shown = field->text();
    if (field->hasSelectedText())
        shown.insert(field->selectionEnd(), u']').insert(field->selectionStart(), u'[');
    QCOMPARE(shown, after);
}

void TestCommands::everyFailedStepKeepsListsTrue_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("count");
    for (const auto& [button, name] :
         {std::pair{"cmdLOAD", u"Dawn"_s}, std::pair{"cmdSAVE", u"Dawn"_s},
          std::pair{"cmdSAVE", u"New"_s}, std::pair{"cmdREMOVE", u"Dawn"_s}})
        for (const auto& [step, count] : {std::pair{Step::Stage, 1}, std::pair{Step::Stage, 2},
                                          std::pair{Step::Rename, 1}, std::pair{Step::Rename, 2}})
            if (step == Step::Rename || qstrcmp(button, "cmdREMOVE") != 0) // Remove copies nothing
                QTest::addRow("%s %s, %s %d", button, qPrintable(name),
                              step == Step::Stage ? "copy" : "rename", count)
                    << QByteArray(button) << name << step << count;
}

void TestCommands::everyFailedStepKeepsListsTrue()
{
    QFETCH(QByteArray, button);
    QFETCH(QString, name);
    QFETCH(Step, step);
    QFETCH(int, count);
    WindowFixture f;
    openOnNightAndDawn(f).fileSystem.failAt(step, count);
    if (button == "cmdLOAD") {
        f.choose(name);
        f.click(u"cmdLOAD"_s);
    } else {
        f.edit(name, button);
    }
    QCOMPARE(f.messages().size(), 1);
    QVERIFY(f.messages().first().contains(FaultyFileSystem::reason()));
    for (const QString& config : {u"Night"_s, u"Dawn"_s, u"New"_s}) {
        const bool whole =
            QFile::exists(f.snapshotMain(config)) && QFile::exists(f.snapshotScenery(config));
        QCOMPARE(f.entries(f.loadList()).contains(config), whole);
    }
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Night"_s);
}

// A box's folder, else its nearest existing parent, else the home folder for a text naming no
// place; a cancelled picker keeps the box's text, a chosen folder goes into its own box only.
void TestCommands::folderPickersStartAtTheBoxesFolders()
{
    WindowFixture f;
    openOnNightAndDawn(f).dialogs.pickerAnswers = {QString(), f.fs9};
    const QString gone =
        f.scenery + QDir::separator() + u"gone"_s + QDir::separator() + u"deeper"_s;
    f.box("txtSceFolder")->setText(gone);
    f.click(u"cmdSceFolder"_s);
    f.box("txtFS9Folder")->setText(u"Flight Simulator folder"_s);
    f.click(u"cmdFS9folder"_s);
    QCOMPARE(f.dialogs.pickerStarts,
             (QStringList{f.scenery, QDir::toNativeSeparators(QDir::homePath())}));
    QCOMPARE(f.dialogs.pickerPrompts, (QStringList{u"Select the Flight Simulator SCENERY folder"_s,
                                                   u"Select the FLIGHT SIMULATOR folder"_s}));
    QCOMPARE((QStringList{f.box("txtFS9Folder")->text(), f.box("txtSceFolder")->text()}),
             (QStringList{f.fs9, gone}));
    QCOMPARE(f.entries(f.loadList()), nightDawn);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"

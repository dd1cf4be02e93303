#include "IniAccess.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QImageReader>
#include <QSessionManager>

namespace {

// The bytes a shutdown writes into a file that had none of the keys.
QByteArray writtenFile(const QString& fs9, const QString& scenery, const QStringList& names,
                       const std::optional<QByteArray>& lastConfig)
{
    QByteArray bytes = "[FS Config]\r\nFS9 Folder=" + fs9.toUtf8() +
                       "\r\nSCENERY Folder=" + scenery.toUtf8() + "\r\n";
    for (int n = 1; n <= 9; ++n)
        bytes += "Config" + QByteArray::number(n) + "=" + names.value(n - 1).toUtf8() + "\r\n";
    if (lastConfig)
        bytes += "LastConfig=" + *lastConfig + "\r\n";
    return bytes;
}

QStringList named(const QStringList& names)
{
    return QStringList{u"FS Original"_s} + names;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void layoutAfterStartup();
    void focusOrderSkipsHiddenControls();
    void secondInstanceShowsBareLayoutAndWritesNothing();
    void startupListsSavedConfigurations_data();
    void startupListsSavedConfigurations();
    void startupWithoutSettingsFile();
    void handEditedSettingsNeverHurt_data();
    void handEditedSettingsNeverHurt();
    void everyWayOfClosingWritesOnce_data();
    void everyWayOfClosingWritesOnce();
    void nextStartReadsTheSameState();
    void missingFolderKeepsStoredSettings();
    void refusedSettingsWriteIsReported();
    void installedCopyKeepsSettingsInUserFolder();
};

void TestWindow::layoutAfterStartup()
{
    WindowFixture f;
    frmHangar& window = f.open();
    QCOMPARE(window.windowTitle(), u"Hangar for FS 2004"_s);
    QCOMPARE(window.size(), QSize(553, 446));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(
        !(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(window.windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
    QCOMPARE(QImageReader(u":/pictures/logo.gif"_s).size(), QSize(342, 111));
    QCOMPARE(QImageReader(u":/pictures/wordmark.jpg"_s).size(), QSize(238, 79));
    QCOMPARE(f.get<QLabel>("imgCorvane0")->pixmap().size(), QSize(254, 93));
    QCOMPARE(f.get<QLabel>("imgCorvane1")->pixmap().size(), QSize(230, 73));
    QCOMPARE(f.labelText("lblVersion"), u"Version 1.2.1"_s);
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load  FS Original  configuration"_s);
    // Start-up puts the editing controls in the places of the load-mode ones.
    QCOMPARE(f.button("cmdSAVE")->pos(), QPoint(64, 72));
    QCOMPARE(f.button("cmdREMOVE")->pos(), QPoint(208, 72));
    QCOMPARE(f.get<QLabel>("lblLastConfigName")->pos(), QPoint(64, 104));
    QCOMPARE(window.children().indexOf(f.get<QLabel>("lblFond")), 0);
    const QCheckBox* check = f.saveActivation();
    QVERIFY2(QFontMetrics(check->font()).horizontalAdvance(check->text()) + 20 <= check->width(),
             "the caption fits its box in the fallback face");
    // Placed by the system as any new window of its size, not centred.
    QWidget plain;
    plain.setFixedSize(window.size());
    plain.show();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowExposed(&plain));
    QCOMPARE(window.pos(), plain.pos());
}

void TestWindow::focusOrderSkipsHiddenControls()
{
    WindowFixture f;
    frmHangar& window = f.open();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), f.loadList());
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        visited << (qobject_cast<QComboBox*>(focus->parentWidget()) ? focus->parentWidget() : focus)
                       ->objectName();
    }
    QCOMPARE(visited, (QStringList{u"cmdLOAD"_s, u"chkSaveActivation"_s, u"cmdQuit"_s,
                                   u"txtFS9Folder"_s, u"cmdFS9folder"_s, u"txtSceFolder"_s,
                                   u"cmdSceFolder"_s, u"cboConfigName"_s}));
}

void TestWindow::secondInstanceShowsBareLayoutAndWritesNothing()
{
    WindowFixture f;
    f.appInfo.otherInstance = true;
    f.writeIni("Config1=Night\r\n");
    f.addConfig(u"Night"_s);
    f.open();
    QCOMPARE(f.button("cmdLOAD")->text(), u"LOAD"_s);
    QCOMPARE(f.labelText("lblVersion"), u"Version"_s);
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded"_s);
    QCOMPARE(f.get<QLabel>("lblLastConfigName")->pos(), QPoint(56, 128));
    QCOMPARE(f.loadList()->count(), 0);
    QCOMPARE(f.box("txtFS9Folder")->text(), u"Flight Simulator folder"_s);
    f.saveActivation()->setChecked(true);
    QCOMPARE(f.button("cmdSAVE")->y(), 56);
    const QByteArray before = TestFiles::read(f.iniPath());
    f.window->close();
    QCOMPARE(TestFiles::read(f.iniPath()), before);
}

void TestWindow::startupListsSavedConfigurations_data()
{
    QTest::addColumn<QByteArray>("slotLines");
    QTest::addColumn<QStringList>("present"); // configurations with both snapshot files
    QTest::addColumn<QStringList>("listed");  // after "FS Original"
    QTest::addColumn<QString>("lastConfig");
    const auto row = [](const char* why, const QByteArray& lines, const QStringList& present,
                        const QStringList& listed, const QString& last) {
        QTest::newRow(why) << lines << present << listed << last;
    };
    row("listed only with both files; LastConfig shown",
        "Config1=Night\r\nConfig2=Dawn\r\nLastConfig=Night\r\n", {u"Night"_s}, {u"Night"_s},
        u"Night"_s);
    row("gaps close up, blanks trimmed, spaces-only slot free",
        "Config1=  Night  \r\nConfig2=\r\nConfig3=   \r\nConfig4=Dusk\r\n", {u"Night"_s, u"Dusk"_s},
        {u"Night"_s, u"Dusk"_s}, QString());
    row("a name twice is listed twice", "Config1=Night\r\nConfig5=Night\r\n", {u"Night"_s},
        {u"Night"_s, u"Night"_s}, QString());
    row("LastConfig whose files are gone is still shown", "LastConfig= Gone \r\n", {}, {},
        u"Gone"_s);
    row("hand-edited names reaching outside the folders are skipped",
        "Config1=../../etc/x\r\nConfig2=..\\x\r\nConfig3=*\r\nConfig4=C:x\r\nConfig5=Night\r\n",
        {u"Night"_s}, {u"Night"_s}, QString());
    row("names found in another letter case", "Config1=NIGHT\r\n", {u"Night"_s}, {u"NIGHT"_s},
        QString());
    row("slot 10 is not read", "Config10=Night\r\n", {u"Night"_s}, {}, QString());
}

void TestWindow::startupListsSavedConfigurations()
{
    QFETCH(QByteArray, slotLines);
    QFETCH(QStringList, present);
    QFETCH(QStringList, listed);
    QFETCH(QString, lastConfig);
    WindowFixture f;
    f.writeIni(slotLines);
    for (const QString& name : present)
        f.addConfig(name);
    TestFiles::write(f.snapshotMain(u"Dawn"_s), "only half of Dawn");
    QDir(f.root.path()).mkpath(u"etc"_s);
    TestFiles::write(f.root.filePath(u"etc/x"_s), "a file a climbing name would reach");
    f.open();
    QCOMPARE(f.entries(f.loadList()), QStringList{u"FS Original"_s} + listed);
    QCOMPARE(f.loadList()->currentText(), u"FS Original"_s);
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> "_s + lastConfig);
    QCOMPARE(f.box("txtFS9Folder")->text(), f.fs9);
}

void TestWindow::startupWithoutSettingsFile()
{
    WindowFixture f;
    f.open();
    QCOMPARE(f.box("txtFS9Folder")->text(), u"Flight Simulator folder"_s);
    QCOMPARE(f.box("txtSceFolder")->text(), u"Scenery folder"_s);
    QCOMPARE(f.entries(f.loadList()), QStringList{u"FS Original"_s});
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> "_s);
    f.window->close();
    QCOMPARE(TestFiles::read(f.iniPath()),
             writtenFile(u"Flight Simulator folder"_s, u"Scenery folder"_s, {}, std::nullopt));
}

void TestWindow::handEditedSettingsNeverHurt_data()
{
    QTest::addColumn<QByteArray>("content"); // %F and %S stand for the two folders
    QTest::addColumn<bool>("readable");      // the folders and Night can be read from it
    const QByteArray good =
        "[FS Config]\r\nFS9 Folder=%F\r\nSCENERY Folder=%S\r\nConfig1=Night\r\n";
    QByteArray junk(10 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919) % 251);
    junk.replace('[', 'x');
    const auto row = [](const char* why, const QByteArray& content, bool readable) {
        QTest::newRow(why) << content << readable;
    };
    row("ten megabytes of junk first", junk + "\n" + good, true);
    row("binary bytes around", "\0\xff\x01\n" + good + "\0\0\xfe=\x7f\n", true);
    row("no line endings at all", QByteArray(good).replace("\r\n", " "), false);
    row("CR-only line endings", QByteArray(good).replace("\r\n", "\r"), true);
    row("byte-order mark", "\xEF\xBB\xBF" + good, true);
    row("doubled section and keys, first counts",
        good + "FS9 Folder=/elsewhere\r\n[FS Config]\r\nConfig1=Other\r\n", true);
    row("values of thousands of characters",
        good + "Config2=" + QByteArray(5000, 'n') + "\r\nLastConfig=" + QByteArray(4000, 'l'),
        true);
    row("names that climb, wildcards, separators and control characters",
        good + "Config2=../../sentinel\r\nConfig3=..\\..\\sentinel\r\nConfig4=*\r\n"
               "Config5=?\r\nConfig6=a\x01b\r\nConfig7=/\r\nConfig8=..\r\n",
        true);
}

void TestWindow::handEditedSettingsNeverHurt()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, readable);
    WindowFixture f;
    f.addConfig(u"Night"_s);
    TestFiles::write(f.root.filePath(u"sentinel"_s), "outside");
    TestFiles::write(f.root.filePath(u"FS9.sentinel.cfg"_s), "outside");
    content.replace("%F", f.fs9.toUtf8()).replace("%S", f.scenery.toUtf8());
    TestFiles::write(f.iniPath(), content);
    const auto filesBefore = QDir(f.root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    f.open();
    QCOMPARE(f.entries(f.loadList()), named(readable ? QStringList{u"Night"_s} : QStringList()));
    f.window->close();

    QCOMPARE(TestFiles::read(f.root.filePath(u"sentinel"_s)), "outside"_ba);
    QCOMPARE(TestFiles::read(f.root.filePath(u"FS9.sentinel.cfg"_s)), "outside"_ba);
    QCOMPARE(QDir(f.root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), filesBefore);
    QCOMPARE(f.contents(u"Night"_s),
             (QByteArrayList{"live main", "live scenery", "Night main", "Night scenery"}));
    if (readable) {
        QCOMPARE(ReadIni(f.iniPath(), u"FS Config"_s, u"FS9 Folder"_s), f.fs9);
        QCOMPARE(ReadIni(f.iniPath(), u"FS Config"_s, u"SCENERY Folder"_s), f.scenery);
        QCOMPARE(ReadIni(f.iniPath(), u"FS Config"_s, u"Config1"_s), u"Night"_s);
    }
}

void TestWindow::everyWayOfClosingWritesOnce_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Quit button") << 0;
    QTest::newRow("Escape in the save list") << 1;
    QTest::newRow("Enter in a folder box") << 2;
    QTest::newRow("Enter in the save list") << 5;
    QTest::newRow("Enter in the load list") << 6;
    QTest::newRow("close box") << 3;
    QTest::newRow("session ends") << 4;
    QTest::newRow("logout asks for the settings, then goes through") << 7;
    QTest::newRow("logout cancelled, then Dusk saved and Quit") << 8;
}

void TestWindow::everyWayOfClosingWritesOnce()
{
    QFETCH(int, way);
    WindowFixture f;
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\n");
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    frmHangar& window = f.open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    f.saveActivation()->setChecked(true); // editing mode does not change what is written
    switch (way) {
    case 0:
        f.button("cmdQuit")->click();
        break;
    case 1:
        QTest::keyClick(f.focus(f.saveList()), Qt::Key_Escape);
        break;
    case 2:
        QTest::keyClick(f.focus(f.box("txtSceFolder")), Qt::Key_Return);
        break;
    case 3:
        window.close();
        break;
    case 4:
        QMetaObject::invokeMethod(qApp, "aboutToQuit");
        break;
    case 5:
        QTest::keyClick(f.focus(f.saveList()), Qt::Key_Return);
        break;
    case 6:
        f.saveActivation()->setChecked(false);
        QTest::keyClick(f.focus(f.loadList()), Qt::Key_Enter);
        break;
    case 7:
    case 8: {
        // Qt lets a test make no session manager; the window does not look at it.
        alignas(QSessionManager) char manager[sizeof(QSessionManager)] = {};
        emit qApp->commitDataRequest(*reinterpret_cast<QSessionManager*>(manager));
        if (way == 8) {
            f.edit(u"Dusk"_s, "cmdSAVE");
            f.button("cmdQuit")->click();
        }
        break;
    }
    }
    const QStringList names{u"Night"_s, u"Dawn"_s, u"Dusk"_s};
    QCOMPARE(TestFiles::read(f.iniPath()),
             writtenFile(f.fs9, f.scenery, names.first(way == 8 ? 3 : 2), ""));
    QCOMPARE(window.isHidden(), way != 4 && way != 7);
    // A second close must not write again over what may have changed since.
    TestFiles::write(f.iniPath(), "changed");
    window.close();
    QMetaObject::invokeMethod(qApp, "aboutToQuit");
    QCOMPARE(TestFiles::read(f.iniPath()), "changed"_ba);
}

void TestWindow::nextStartReadsTheSameState()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\nLastConfig=Dawn\r\n");
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    f.open().close();
    const QByteArray first = TestFiles::read(f.iniPath());
    f.open();
    QCOMPARE(f.entries(f.loadList()), (QStringList{u"FS Original"_s, u"Night"_s, u"Dawn"_s}));
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Dawn"_s);
    QCOMPARE(f.box("txtSceFolder")->text(), f.scenery);
    f.window->close();
    QCOMPARE(TestFiles::read(f.iniPath()), first);
}

void TestWindow::missingFolderKeepsStoredSettings()
{
    WindowFixture f;
    const QString unmounted = f.root.filePath(u"unmounted"_s);
    const QByteArray stored =
        "[FS Config]\r\nFS9 Folder=" + unmounted.toUtf8() +
        "\r\nSCENERY Folder=" + f.scenery.toUtf8() +
        "\r\nConfig1=Night\r\nConfig2=\r\nConfig3=Dawn\r\nLastConfig=Night\r\n";
    TestFiles::write(f.iniPath(), stored);
    f.open();
    QCOMPARE(f.box("txtFS9Folder")->text(), QString());
    QCOMPARE(f.entries(f.loadList()), QStringList{u"FS Original"_s});
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> "_s);
    f.window->close();
    // The box left empty keeps the stored folder; keys keep their places and the slots the file
    // lacked follow its last key.
    const QByteArray slotsAfter = "Config4=\r\nConfig5=\r\nConfig6=\r\nConfig7=\r\nConfig8=\r\n"
                                  "Config9=\r\n";
    QByteArray kept = stored;
    QCOMPARE(TestFiles::read(f.iniPath()),
             kept.replace("Config2=\r\nConfig3=Dawn", "Config2=Dawn\r\nConfig3=") + slotsAfter);

    // Pointed at a real folder, a name saved there joins the kept names.
    TestFiles::write(f.iniPath(), stored);
    f.open();
    f.box("txtFS9Folder")->setText(f.fs9);
    f.edit(u"Dusk"_s, "cmdSAVE");
    f.window->close();
    kept = stored;
    QCOMPARE(TestFiles::read(f.iniPath()),
             kept.replace(unmounted.toUtf8(), f.fs9.toUtf8())
                     .replace("Config2=\r\nConfig3=Dawn", "Config2=Dawn\r\nConfig3=Dusk") +
                 slotsAfter);
}

void TestWindow::refusedSettingsWriteIsReported()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\n");
    TestFiles::makeReadOnly(f.iniPath());
    const QByteArray before = TestFiles::read(f.iniPath());
    f.open().close();
    QCOMPARE(f.messages().size(), 1);
    QVERIFY(f.messages().first().contains(f.iniPath()));
    QVERIFY(f.messages().first().contains(u"read-only"_s));
    QVERIFY(f.window->isHidden());
    QCOMPARE(TestFiles::read(f.iniPath()), before);
}

void TestWindow::installedCopyKeepsSettingsInUserFolder()
{
    WindowFixture f;
    f.appInfo.folderWritable = false;
    f.appInfo.configFolder = f.root.filePath(u"config"_s);
    QDir().mkpath(f.appInfo.configFolder);
    const QString userFile = FolderFixture::in(f.appInfo.configFolder, u"Hangar.ini"_s);
    f.open().close();
    QCOMPARE(f.appInfo.instanceCheckedFor, userFile);
    QVERIFY(!QFile::exists(f.iniPath()));
    QCOMPARE(TestFiles::read(userFile),
             writtenFile(u"Flight Simulator folder"_s, u"Scenery folder"_s, {}, std::nullopt));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"

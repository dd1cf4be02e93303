#include "WindowFixture.h"

#include <QGroupBox>

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void controlsStandWhereLaidOut_data();
    void controlsStandWhereLaidOut();
    void windowIsFixedDialog();
    void fontsAndStates();
    void focusOrderSkipsHiddenControls();
    void secondInstanceShowsBareLayout();
};

void TestLayout::controlsStandWhereLaidOut_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    const QString window = u"frmHangar"_s;
    const QString frame2 = u"Frame2"_s;
    const QString frame1 = u"Frame1"_s;
    QTest::newRow("Frame2") << u"Frame2"_s << window << QRect(8, 128, 537, 145);
    QTest::newRow("Frame1") << u"Frame1"_s << window << QRect(8, 288, 537, 145);
    QTest::newRow("lblVersion") << u"lblVersion"_s << window << QRect(229, 432, 313, 17);
    QTest::newRow("Label3_1") << u"Label3_1"_s << window << QRect(360, 88, 145, 25);
    QTest::newRow("Label3_0") << u"Label3_0"_s << window << QRect(360, 72, 145, 25);
    QTest::newRow("imgCorvane1") << u"imgCorvane1"_s << window << QRect(312, 8, 230, 73);
    QTest::newRow("imgCorvane0") << u"imgCorvane0"_s << window << QRect(16, 8, 254, 93);
    QTest::newRow("lblFond") << u"lblFond"_s << window << QRect(0, 0, 681, 113);
    QTest::newRow("cboConfigName") << u"cboConfigName"_s << frame2 << QRect(56, 32, 281, 24);
    QTest::newRow("chkSaveActivation")
        << u"chkSaveActivation"_s << frame2 << QRect(384, 32, 105, 25);
    QTest::newRow("cmdLOAD") << u"cmdLOAD"_s << frame2 << QRect(64, 72, 257, 25);
    QTest::newRow("cmdQuit") << u"cmdQuit"_s << frame2 << QRect(384, 72, 105, 25);
    QTest::newRow("cmdSAVE moved to the Load row")
        << u"cmdSAVE"_s << frame2 << QRect(64, 72, 113, 25);
    QTest::newRow("cmdREMOVE moved to the Load row")
        << u"cmdREMOVE"_s << frame2 << QRect(208, 72, 113, 25);
    QTest::newRow("cboConfigNameTO") << u"cboConfigNameTO"_s << frame2 << QRect(56, 104, 281, 24);
    QTest::newRow("lblLastConfigName moved to the save list's row")
        << u"lblLastConfigName"_s << frame2 << QRect(64, 104, 465, 17);
    QTest::newRow("Label1") << u"Label1"_s << frame1 << QRect(24, 32, 465, 17);
    QTest::newRow("txtFS9Folder") << u"txtFS9Folder"_s << frame1 << QRect(24, 48, 465, 25);
    QTest::newRow("cmdFS9folder") << u"cmdFS9folder"_s << frame1 << QRect(488, 48, 25, 25);
    QTest::newRow("Label2") << u"Label2"_s << frame1 << QRect(24, 80, 465, 17);
    QTest::newRow("txtSceFolder") << u"txtSceFolder"_s << frame1 << QRect(24, 96, 465, 25);
    QTest::newRow("cmdSceFolder") << u"cmdSceFolder"_s << frame1 << QRect(488, 96, 25, 25);
}

void TestLayout::controlsStandWhereLaidOut()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    WindowFixture f;
    f.open();
    auto* control = f.window->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->geometry(), geometry);
}

void TestLayout::windowIsFixedDialog()
{
    WindowFixture f;
    frmHangar& window = f.open();
    QCOMPARE(window.objectName(), u"frmHangar"_s);
    QCOMPARE(window.windowTitle(), u"Hangar for FS 2004"_s);
    QCOMPARE(window.size(), QSize(553, 446));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(
        !(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
    QCOMPARE(f.get<QLabel>("imgCorvane0")->pixmap().size(), QSize(342, 111));
    QCOMPARE(f.get<QLabel>("imgCorvane1")->pixmap().size(), QSize(238, 79));
}

void TestLayout::fontsAndStates()
{
    WindowFixture f;
    f.open();
    QCOMPARE(f.button("cmdSAVE")->font().pixelSize(), 11);
    QVERIFY(f.button("cmdSAVE")->font().bold());
    QVERIFY(f.get<QLabel>("Label3_0")->font().bold());
    QCOMPARE(f.loadList()->font().pixelSize(), 13);
    QCOMPARE(f.get<QLabel>("Label3_1")->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    QCOMPARE(f.get<QLabel>("lblFond")->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(f.button("cmdQuit")->isDefault());
    QVERIFY(f.saveList()->isHidden() && f.button("cmdSAVE")->isHidden() &&
            f.button("cmdREMOVE")->isHidden());
    QVERIFY(!f.saveActivation()->isChecked());
    QCOMPARE(f.get<QGroupBox>("Frame2")->title(), u"Flight Simulator configuration"_s);
    QCOMPARE(f.window->children().indexOf(f.get<QLabel>("lblFond")), 0);
    // The caption fits its box in the fallback face.
    const QCheckBox* check = f.saveActivation();
    QVERIFY(QFontMetrics(check->font()).horizontalAdvance(check->text()) + 20 <= check->width());
}

void TestLayout::focusOrderSkipsHiddenControls()
{
    WindowFixture f;
    frmHangar& window = f.open();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), f.loadList());
    const QStringList loadMode{u"cmdLOAD"_s,      u"chkSaveActivation"_s, u"cmdQuit"_s,
                               u"txtFS9Folder"_s, u"cmdFS9folder"_s,      u"txtSceFolder"_s,
                               u"cmdSceFolder"_s, u"cboConfigName"_s};
    QStringList visited;
    for (int i = 0; i < loadMode.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        visited << (qobject_cast<QComboBox*>(focus->parentWidget()) ? focus->parentWidget() : focus)
                       ->objectName();
    }
    QCOMPARE(visited, loadMode);
}

void TestLayout::secondInstanceShowsBareLayout()
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
    QCOMPARE(f.loadList()->currentText(), u"FS Original"_s);
    QCOMPARE(f.box("txtFS9Folder")->text(), u"Flight Simulator folder"_s);
    f.saveActivation()->setChecked(true);
    QCOMPARE(f.button("cmdSAVE")->y(), 56);
    const QByteArray before = TestFiles::read(f.iniPath());
    f.window->close();
    QCOMPARE(TestFiles::read(f.iniPath()), before);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"

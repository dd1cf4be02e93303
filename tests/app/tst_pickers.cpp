#include "WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace {

// A key as a real keyboard sends it, with the character it carries.
void sendKey(QWidget* target, Qt::Key key, const QString& text,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

class TestPickers : public QObject
{
    Q_OBJECT

private slots:
    void captionFollowsLoadList();
    void loadListTakesNoText();
    void saveListTypingLimit_data();
    void saveListTypingLimit();
    void removeEnabledUnlessOriginal_data();
    void removeEnabledUnlessOriginal();
    void modeSwitchRepeatedly();
    void loadCopiesAndShowsName();
    void refusedLoadShowsExactMessage();
};

void TestPickers::captionFollowsLoadList()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\n");
    f.addConfig(u"Night"_s);
    f.open();
    QTest::keyClick(f.loadList(), Qt::Key_Down);
    QCOMPARE(f.loadList()->currentText(), u"Night"_s);
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load  Night  configuration"_s);
    f.loadList()->setEditText(QString());
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load    configuration"_s);
}

void TestPickers::loadListTakesNoText()
{
    WindowFixture f;
    f.open();
    QLineEdit* field = f.loadList()->lineEdit();
    QApplication::clipboard()->setText(u"Pasted"_s);
    QTest::keyClicks(field, u"abc"_s);
    sendKey(field, Qt::Key_Backspace, u"\b"_s);
    sendKey(field, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
    QCOMPARE(f.loadList()->currentText(), u"FS Original"_s);
    QCOMPARE(f.button("cmdLOAD")->text(), u"&Load  FS Original  configuration"_s);
}

void TestPickers::saveListTypingLimit_data()
{
    QTest::addColumn<int>("startLength");
    QTest::addColumn<QString>("key"); // "del" and "bs" for Delete and Backspace
    QTest::addColumn<int>("endLength");
    QTest::newRow("15 characters take a 16th") << 15 << u"x"_s << 16;
    QTest::newRow("16 refuse a 17th") << 16 << u"x"_s << 16;
    QTest::newRow("16 refuse Backspace too") << 16 << u"bs"_s << 16;
    QTest::newRow("15 take Backspace") << 15 << u"bs"_s << 14;
    QTest::newRow("Delete still shortens 16") << 16 << u"del"_s << 15;
    QTest::newRow("20 set by the program refuse typing") << 20 << u"x"_s << 20;
}

void TestPickers::saveListTypingLimit()
{
    QFETCH(int, startLength);
    QFETCH(QString, key);
    QFETCH(int, endLength);
    WindowFixture f;
    f.open();
    f.saveActivation()->setChecked(true);
    QLineEdit* field = f.saveList()->lineEdit();
    f.saveList()->setEditText(QString(startLength, u'n'));
    if (key == u"del"_s) {
        field->setCursorPosition(0);
        sendKey(field, Qt::Key_Delete, QString(QChar(127)));
    } else if (key == u"bs"_s) {
        sendKey(field, Qt::Key_Backspace, u"\b"_s);
    } else {
        field->selectAll(); // typing over a selection is refused all the same
        if (startLength < 16)
            field->deselect();
        QTest::keyClicks(field, key);
    }
    QCOMPARE(f.saveList()->currentText().size(), endLength);
}

void TestPickers::removeEnabledUnlessOriginal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("exactly FS Original") << u"FS Original"_s << false;
    QTest::newRow("other letter case") << u"fs original"_s << true;
    QTest::newRow("blank after") << u"FS Original "_s << true;
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("a name") << u"Night"_s << true;
}

void TestPickers::removeEnabledUnlessOriginal()
{
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    WindowFixture f;
    f.open();
    f.saveActivation()->setChecked(true);
    QVERIFY(!f.button("cmdREMOVE")->isEnabled());
    f.saveList()->lineEdit()->selectAll();
    QTest::keyClick(f.saveList()->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(f.saveList()->lineEdit(), text);
    QCOMPARE(f.button("cmdREMOVE")->isEnabled(), enabled);
}

void TestPickers::modeSwitchRepeatedly()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\nConfig2=Dawn\r\n");
    f.addConfig(u"Night"_s);
    f.addConfig(u"Dawn"_s);
    f.open();
    f.loadList()->setCurrentIndex(2);
    QCOMPARE(f.loadList()->currentText(), u"Dawn"_s);
    for (int round = 0; round < 3; ++round) {
        f.saveActivation()->setChecked(true);
        QCOMPARE(f.entries(f.saveList()), (QStringList{u"FS Original"_s, u"Night"_s, u"Dawn"_s}));
        QCOMPARE(f.saveList()->currentText(), u"Dawn"_s);
        QVERIFY(f.button("cmdREMOVE")->isEnabled());
        QVERIFY(f.button("cmdSAVE")->isVisibleTo(f.window.get()));
        QVERIFY(!f.button("cmdLOAD")->isVisibleTo(f.window.get()));
        QVERIFY(!f.get<QLabel>("lblLastConfigName")->isVisibleTo(f.window.get()));
        QVERIFY(!f.loadList()->isEnabled());
        f.saveActivation()->setChecked(false);
        QCOMPARE(f.saveList()->count(), 0);
        QCOMPARE(f.saveList()->currentText(), QString());
        QVERIFY(!f.saveList()->isVisibleTo(f.window.get()));
        QVERIFY(f.button("cmdLOAD")->isVisibleTo(f.window.get()));
        QVERIFY(f.loadList()->isEnabled());
        QCOMPARE(f.loadList()->currentText(), u"Dawn"_s);
    }
}

void TestPickers::loadCopiesAndShowsName()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\n");
    f.addConfig(u"Night"_s);
    f.open();
    f.loadList()->setCurrentIndex(1);
    f.button("cmdLOAD")->click();
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(TestFiles::read(f.liveMain()), "Night main"_ba);
    QCOMPARE(TestFiles::read(f.liveScenery()), "Night scenery"_ba);
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Night"_s);
}

void TestPickers::refusedLoadShowsExactMessage()
{
    WindowFixture f;
    f.writeIni("Config1=Night\r\nLastConfig=Dawn\r\n");
    f.addConfig(u"Night"_s);
    f.open();
    f.loadList()->setCurrentIndex(1);
    QVERIFY(QDir(f.scenery).removeRecursively());
    f.button("cmdLOAD")->click();
    QCOMPARE(f.messages(), QStringList{u"Error during files process : \r\r"
                                       "\tInvalid folder for Night SCENERY file configuration\t \r"
                                       "\tScenery.Night.cfg file not found\t \r"
                                       "\tFS Original Scenery.cfg file not found\t \r"_s});
    QCOMPARE(TestFiles::read(f.liveMain()), "live main"_ba);
    QCOMPARE(f.labelText("lblLastConfigName"), u"Last configuration loaded -> Dawn"_s);
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"

#include <QtTest>
class Form1Test : public QObject { Q_OBJECT };
QTEST_MAIN(Form1Test)
#include "form1_test.moc"

// Late binding: members by name, objects by reference, classes by identifier.
#include "platform/automation/Dispatch.h"
#include "platform/automation/Registry.h"
#include "tests/support/Errors.h"

#include <QObject>
#include <functional>
#include <stdexcept>

using namespace automation;
using testsupport::errorNumber;
using testsupport::errorOf;

// Members of every kind a late-bound caller meets.
class Widgetish : public QObject {
    Q_OBJECT
    Q_PROPERTY(short Count READ count WRITE setCount)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Flag READ flag WRITE setFlag)
    Q_PROPERTY(int Fixed READ fixed)
    Q_PROPERTY(QObject* Link READ link WRITE setLink)
public:
    short count() const { return count_; }
    void setCount(short c) { count_ = c; }
    QString caption() const { return caption_; }
    void setCaption(const QString& c) { caption_ = c; }
    bool flag() const { return flag_; }
    void setFlag(bool f) { flag_ = f; }
    int fixed() const { return 7; }
    QObject* link() const { return link_; }
    void setLink(QObject* l) { link_ = l; }

    Q_INVOKABLE int Add(int a, int b) { return calls << QStringLiteral("Add"), a + b; }
    Q_INVOKABLE void TakeByte(uchar b) { calls << QStringLiteral("TakeByte(%1)").arg(b); }
    Q_INVOKABLE QVariant Echo(const QVariant& v) { return v; }
    Q_INVOKABLE void FailOwn() { automation::raise(automation::err::UserDefined, QStringLiteral("device busy")); }
    Q_INVOKABLE void FailStd() { throw std::runtime_error("disk full"); }

    QStringList calls;

private:
    short count_ = 0;
    QString caption_;
    bool flag_ = false;
    QObject* link_ = nullptr;
};

TEST(LateBinding, MembersAreFoundByNameInAnyCaseAndArgumentsConvertToTheDeclaredTypes) {
    Widgetish w, other;
    setProperty(&w, QStringLiteral("caption"), QStringLiteral("Door 1"));
    EXPECT_EQ(getProperty(&w, QStringLiteral("CAPTION")).toString(), QStringLiteral("Door 1"));
    setProperty(&w, QStringLiteral("Count"), 12);
    setProperty(&w, QStringLiteral("Flag"), QStringLiteral("True"));
    EXPECT_TRUE(w.count() == 12 && w.flag());
    EXPECT_EQ(call(&w, QStringLiteral("add"), {QStringLiteral("40"), 2.0}).toInt(), 42);
    EXPECT_EQ(call(&w, QStringLiteral("Echo"), {QStringLiteral("x")}).toString(), QStringLiteral("x"));
    call(&w, QStringLiteral("TakeByte"), {QStringLiteral("200")});
    EXPECT_EQ(w.calls, (QStringList{"Add", "TakeByte(200)"}));
    // Objects travel as references.
    setProperty(&w, QStringLiteral("Link"), fromObject(&other));
    EXPECT_EQ(w.link(), &other);
    EXPECT_EQ(toObject(getProperty(&w, QStringLiteral("Link"))), &other);
}

// Missing members, refused values and failing callees: an error object, and
// nothing reaches the callee or becomes a dynamic property.
TEST(LateBinding, EveryFailedCallRaisesItsErrorAndChangesNothing) {
    Widgetish w;
    const std::pair<int, std::function<void()>> cases[] = {
        {err::MemberNotFound, [&] { setProperty(&w, QStringLiteral("Colour"), 1); }},
        {err::MemberNotFound, [&] { getProperty(&w, QStringLiteral("Colour")); }},
        {err::PropertyReadOnly, [&] { setProperty(&w, QStringLiteral("Fixed"), 1); }},
        {err::Overflow, [&] { setProperty(&w, QStringLiteral("Count"), 70000); }},
        {err::TypeMismatch, [&] { setProperty(&w, QStringLiteral("Count"), QStringLiteral("many")); }},
        {err::Overflow, [&] { call(&w, QStringLiteral("TakeByte"), {300}); }},
        {err::WrongArgumentCount, [&] { call(&w, QStringLiteral("Add"), {1}); }},
        {err::TypeMismatch, [&] { setProperty(&w, QStringLiteral("Link"), 5); }},
        {err::ObjectNotSet, [] { call(nullptr, QStringLiteral("Add"), {1, 2}); }},
        {err::UserDefined, [&] { call(&w, QStringLiteral("FailOwn")); }},
        {err::MemberNotFound, [&] { QVariantList none; callDefault(&w, none); }},  // no default member
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(errorNumber(cases[i].second), cases[i].first) << "case " << i;
    EXPECT_TRUE(w.dynamicPropertyNames().isEmpty());
    EXPECT_EQ(w.count(), 0);
    EXPECT_TRUE(w.calls.isEmpty()) << "a refused argument must not reach the callee";
    EXPECT_TRUE(errorOf([&] { call(&w, QStringLiteral("Launch")); }).description().contains(QStringLiteral("Launch")));
    EXPECT_TRUE(errorOf([&] { call(&w, QStringLiteral("FailOwn")); }).description().contains(QStringLiteral("device busy")));
    EXPECT_TRUE(errorOf([&] { call(&w, QStringLiteral("FailStd")); }).description().contains(QStringLiteral("disk full")));
}

TEST(ObjectReferences, OwnedObjectsDieWithTheLastReferenceBorrowedOnesDoNot) {
    QPointer<QObject> created = new Widgetish;
    ObjectRef owned = ObjectRef::owned(created);
    ObjectRef copy = owned;
    owned.release();
    EXPECT_FALSE(created.isNull());
    copy.release();
    EXPECT_TRUE(created.isNull());

    Widgetish host;
    ObjectRef borrowed = ObjectRef::borrowed(&host);
    borrowed.release();
    EXPECT_EQ(errorNumber([&] { borrowed.get(QStringLiteral("Caption")); }), err::ObjectNotSet);
    // A reference to a destroyed object is empty.
    auto* w = new Widgetish;
    ObjectRef r = ObjectRef::borrowed(w);
    delete w;
    EXPECT_FALSE(r);
    EXPECT_EQ(errorNumber([&] { r.call(QStringLiteral("Add"), {1, 2}); }), err::ObjectNotSet);
}

TEST(Registry, CreatesRegisteredClassesByIdentifierInAnyCaseAndRaises429ForOthers) {
    Registry::registerClass(QStringLiteral("Test.Widget"), [] { return new Widgetish; });
    ObjectRef w = Registry::create(QStringLiteral("test.WIDGET"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w.call(QStringLiteral("Add"), {1, 2}).toInt(), 3);
    Registry::unregisterClass(QStringLiteral("TEST.widget"));
    EXPECT_FALSE(Registry::isRegistered(QStringLiteral("Test.Widget")));
    // The platform's connection is creatable too.
    ObjectRef c = Registry::create(QStringLiteral("ADODB.Connection"));
    c.set(QStringLiteral("ConnectionString"), QStringLiteral("sqlite::memory:"));
    EXPECT_EQ(c.get(QStringLiteral("ConnectionString")).toString(), QStringLiteral("sqlite::memory:"));
    // Unknown identifiers and failing factories raise 429.
    qputenv("TAMRIK_REGISTRATION_FILE", "/nonexistent/registrations.ini");
    AutomationError e = errorOf([] { Registry::create(QStringLiteral("Nobody.Home")); });
    EXPECT_EQ(e.number(), err::CannotCreateObject);
    EXPECT_TRUE(e.description().contains(QStringLiteral("Nobody.Home")));
    Registry::registerClass(QStringLiteral("Test.Broken"), []() -> QObject* { automation::raise(err::UserDefined, QStringLiteral("licence expired")); });
    e = errorOf([] { Registry::create(QStringLiteral("Test.Broken")); });
    EXPECT_EQ(e.number(), err::CannotCreateObject);
    EXPECT_TRUE(e.description().contains(QStringLiteral("licence expired")));
}

#include "dispatch_test.moc"

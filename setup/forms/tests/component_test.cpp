#include "setup/forms/component.h"

#include <gtest/gtest.h>

#include "setup/forms/tests/test_classes.h"

namespace setup::forms {
namespace {

using namespace testing;

// Keeps the notifications it hears, as "insert Name" / "remove Name".
class TRecorder : public TComponent
{
public:
    using TComponent::TComponent;
    std::vector<std::string> heard;

protected:
    void Notification(TComponent* component, Operation operation) override
    {
        TComponent::Notification(component, operation);
        heard.push_back((operation == Operation::Insert ? "insert " : "remove ") +
                        component->Name());
    }
};

TEST(Component, KeepsOwnedComponentsInCreationOrderAndFindsThemIgnoringCase)
{
    TTestForm form;
    auto* first = new TTestControl(&form);
    first->SetName("Edit1");
    auto* second = new TTestLabel(&form);
    second->SetName("Label1");
    auto* third = new TTestTimer(&form);
    ASSERT_EQ(form.ComponentCount(), 3u);
    EXPECT_EQ(form.Component(0), first);
    EXPECT_EQ(form.Component(2), third);
    EXPECT_EQ(third->Owner(), &form);
    EXPECT_EQ(form.FindComponent("LABEL1"), second);
    EXPECT_EQ(form.FindComponent("edit1"), first);
    EXPECT_EQ(form.FindComponent(""), nullptr);  // the unnamed timer is not found by ""
    EXPECT_EQ(form.FindComponent("Timer1"), nullptr);

    delete second;  // leaves its owner's list
    ASSERT_EQ(form.ComponentCount(), 2u);
    EXPECT_EQ(form.Component(1), third);
}

TEST(Component, RefusesInvalidAndDuplicateNames)
{
    TTestForm form;
    auto* edit = new TTestControl(&form);
    edit->SetName("Edit1");
    auto* other = new TTestControl(&form);
    struct Case
    {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"EDIT1", "A component named EDIT1 already exists"},
        {"1Edit", "'1Edit' is not a valid component name"},
        {"Edit 2", "'Edit 2' is not a valid component name"},
        {"Edit.2", "'Edit.2' is not a valid component name"},
    };
    for (const Case& c : cases) {
        try {
            other->SetName(c.name);
            ADD_FAILURE() << c.name;
        } catch (const EComponentError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
    EXPECT_EQ(other->Name(), "");
    edit->SetName("edit1");  // renaming itself in another case is no clash
    EXPECT_EQ(edit->Name(), "edit1");
    other->SetName("_Edit2");
    other->SetName("");
    EXPECT_EQ(other->Name(), "");
}

TEST(Component, TellsOwnerAndOwnedComponentsOfInsertionsAndRemovals)
{
    TRecorder owner(nullptr);
    owner.SetName("Owner");
    auto* watcher = new TRecorder(nullptr);
    watcher->SetName("Watcher");
    owner.InsertComponent(watcher);
    auto* edit = new TTestControl(nullptr);
    edit->SetName("Edit1");
    owner.InsertComponent(edit);
    delete edit;
    // Notices go round every owned component, the inserted one included.
    const std::vector<std::string> expected = {"insert Watcher", "insert Edit1", "remove Edit1"};
    EXPECT_EQ(owner.heard, expected);
    EXPECT_EQ(watcher->heard, expected);
}

TEST(Component, FreeNotificationClearsReferencesToAFreedComponentEitherWay)
{
    TTestForm form;
    auto* label = new TTestLabel(&form);
    TTestControl* edit = new TTestControl(nullptr);  // another owner's component
    label->SetFocusControl(edit);
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);

    // The label goes first: the edit's list must not keep the dead label.
    auto* edit2 = new TTestControl(nullptr);
    label->SetFocusControl(edit2);
    delete label;
    delete edit2;  // would touch the freed label if it were still listed
}

TEST(Component, OwnerFreesWhatItOwnsLastFirstAndMarksItselfDestroying)
{
    std::vector<std::string> order;
    class TMarker : public TComponent
    {
    public:
        TMarker(TComponent* owner, std::vector<std::string>& order, const char* name)
            : TComponent(owner), m_order(order), m_formerOwner(owner)
        {
            SetName(name);
        }
        // The owner has taken it off its list by now, as it does before freeing each one.
        ~TMarker() override
        {
            EXPECT_EQ(Owner(), nullptr);
            m_order.push_back(Name() + (m_formerOwner->HasState(csDestroying) ? "+" : "-"));
        }

    private:
        std::vector<std::string>& m_order;
        TComponent* m_formerOwner;
    };
    {
        auto form = std::make_unique<TTestForm>();
        new TMarker(form.get(), order, "A");
        new TMarker(form.get(), order, "B");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"B+", "A+"}));
}

TEST(Component, DesigningSpreadsToOwnedAndLaterInsertedComponents)
{
    TTestForm form;
    auto* edit = new TTestControl(&form);
    form.SetDesigning(true);
    EXPECT_TRUE(edit->HasState(csDesigning));
    auto* later = new TTestControl(&form);
    EXPECT_TRUE(later->HasState(csDesigning));
    form.SetDesigning(false);
    EXPECT_FALSE(edit->HasState(csDesigning));
}

}  // namespace
}  // namespace setup::forms

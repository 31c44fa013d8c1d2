#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "setup/sysconfig/security/basic_list.h"

namespace setup::sysconfig::security {
namespace {

class Named : public BasicObject
{
public:
    explicit Named(std::string name) : m_name(std::move(name)) {}
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
};

int ByName(BasicList&, BasicObject* a, BasicObject* b, std::int32_t)
{
    return static_cast<Named*>(a)->Name().compare(static_cast<Named*>(b)->Name());
}

// Every notification as "+name before|after oldIndex>index" (+ new, - deleted).
std::vector<std::string> g_heard;

void Record(BasicList&, BasicObject* item, bool before, ChangeType change, int oldIndex, int index)
{
    g_heard.push_back(std::string(change == ChangeType::New ? "+" : "-") +
                      static_cast<Named*>(item)->Name() + (before ? " before " : " after ") +
                      std::to_string(oldIndex) + ">" + std::to_string(index));
}

class BasicListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_heard.clear();
        list->AddNotifyProc(&Record);
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < list->Count(); ++i)
            names.push_back(static_cast<Named*>(list->Items(i).Get())->Name());
        return names;
    }
    Ref<BasicList> list = MakeRef<BasicList>();
    Ref<Named> a = MakeRef<Named>("a");
    Ref<Named> b = MakeRef<Named>("b");
    Ref<Named> c = MakeRef<Named>("c");
};

TEST_F(BasicListTest, InsertionsAndDeletionsRenumberAndNotify)
{
    EXPECT_EQ(list->Add(a.Get()), 0);
    EXPECT_EQ(list->Add(b.Get()), 1);
    EXPECT_EQ(list->Add(a.Get()), 0);  // a member keeps its place
    EXPECT_EQ(list->Insert(c.Get(), 100), 2);
    EXPECT_EQ(list->Count(), 3);
    list->AddNotifyProc(&Record);  // once only
    b->SetSelectedIn(*list, true);
    b->SetFocusedIn(*list, true);
    EXPECT_EQ(list->SelectedCount(), 1);
    EXPECT_EQ(list->FocusedItem(), b.Get());

    g_heard.clear();
    ASSERT_TRUE(list->Delete(1));
    EXPECT_EQ(g_heard, (std::vector<std::string>{"-b before 1>-1", "-b after 1>-1"}));
    EXPECT_EQ(c->IndexIn(*list), 1);
    EXPECT_EQ(c->OldIndexIn(*list), 2);
    EXPECT_EQ(b->IndexIn(*list), -1);  // its record is gone
    EXPECT_EQ(b->ErrorCode(), kErrorFileNotFound);
    EXPECT_EQ(list->SelectedCount(), 0);
    EXPECT_EQ(list->FocusedItem(), nullptr);

    EXPECT_FALSE(list->Delete(-1));
    EXPECT_EQ(list->ErrorCode(), kErrorInvalidIndex);
    EXPECT_THROW(list->Items(-1), KroException);
    EXPECT_EQ(list->Insert(b.Get(), -1), -1);
    EXPECT_EQ(list->ErrorCode(), kErrorInvalidIndex);
    EXPECT_EQ(list->Add(nullptr), -1);
    EXPECT_EQ(list->ErrorCode(), kErrorInvalidParameter);

    g_heard.clear();
    EXPECT_EQ(list->Insert(b.Get(), 0), 0);
    EXPECT_EQ(g_heard, (std::vector<std::string>{"+b before -1>0", "+b after -1>0"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(a->OldIndexIn(*list), 0);
    EXPECT_EQ(a->IndexIn(*list), 1);
    EXPECT_EQ(b->ChangeTypeIn(*list), ChangeType::New);
}

TEST_F(BasicListTest, GrowsTo16ThenByHalf)
{
    std::vector<Ref<Named>> items;
    const int expected[] = {16, 16, 24};
    const int counts[] = {1, 16, 17};
    int added = 0;
    for (int step = 0; step < 3; ++step) {
        while (added < counts[step]) {
            items.push_back(MakeRef<Named>(std::to_string(added++)));
            list->Add(items.back().Get());
        }
        EXPECT_EQ(list->Capacity(), expected[step]) << counts[step];
    }
    list->SetCapacity(8);
    EXPECT_EQ(list->Count(), 8);
    items.push_back(MakeRef<Named>("x"));
    list->Add(items.back().Get());
    EXPECT_EQ(list->Capacity(), 12);
    list->Pack();
    EXPECT_EQ(list->Capacity(), 9);
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Capacity(), 0);
}

TEST_F(BasicListTest, SortedListsKeepTheirOrder)
{
    std::vector<Ref<Named>> items;
    for (const char* name : {"m", "c", "x", "a", "q", "c2", "b"})
        items.push_back(MakeRef<Named>(name));
    list->SetSortFunction(&ByName);
    for (auto& item : items)
        list->Add(item.Get());
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "c2", "m", "q", "x"}));
    g_heard.clear();
    list->SetSortAscending(false);
    EXPECT_TRUE(g_heard.empty());  // sorting tells no listener
    EXPECT_EQ(Names(), (std::vector<std::string>{"x", "q", "m", "c2", "c", "b", "a"}));
    for (int i = 0; i < list->Count(); ++i)
        EXPECT_EQ(list->Items(i)->IndexIn(*list), i);
    const Ref<Named> n = MakeRef<Named>("n");
    EXPECT_EQ(list->Add(n.Get()), 2);
}

TEST_F(BasicListTest, RegistrationsAndDeletedMarks)
{
    list->Add(a.Get());
    list->Add(b.Get());
    EXPECT_TRUE(list->RemoveNotifyProc(&Record));
    EXPECT_FALSE(list->RemoveNotifyProc(&Record));
    EXPECT_EQ(list->ErrorCode(), kErrorFileNotFound);
    int told = 0;
    const ListChangeEvent event{[](void* counter, BasicList&, BasicObject*, bool, ChangeType, int,
                                   int) { ++*static_cast<int*>(counter); },
                                &told};
    list->AddChangeEvent(event);
    list->AddChangeEvent(event);
    list->MarkAllDeleted();
    list->Add(c.Get());
    list->RemoveDeleted();
    EXPECT_EQ(Names(), (std::vector<std::string>{"c"}));
    EXPECT_EQ(told, 2 + 4);  // c added, a and b deleted: before and after each
    EXPECT_TRUE(list->RemoveChangeEvent(event));
}

TEST(CriticalSection, OnlyTheOwnerLeaves)
{
    const Ref<CriticalSection> section = MakeRef<CriticalSection>();
    section->Enter();
    section->Enter();
    EXPECT_EQ(section->LockCount(), 2);
    bool leftElsewhere = true;
    bool enteredElsewhere = true;
    std::uint32_t code = 0;
    std::thread other([&] {
        leftElsewhere = section->Leave();
        code = section->ErrorCode();
        enteredElsewhere = section->TryEnter();
    });
    other.join();
    EXPECT_FALSE(leftElsewhere);
    EXPECT_EQ(code, kErrorSectionNotOwned);
    EXPECT_FALSE(enteredElsewhere);
    EXPECT_EQ(section->ErrorCode(), kErrorSectionBusy);
    EXPECT_TRUE(section->OwnedByCurrentThread());
    EXPECT_TRUE(section->Leave());
    EXPECT_TRUE(section->Leave());
    EXPECT_EQ(section->OwningThread(), std::thread::id());
    EXPECT_EQ(section->LockCount(), 0);
}

}  // namespace
}  // namespace setup::sysconfig::security

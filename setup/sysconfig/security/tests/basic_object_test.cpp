#include <gtest/gtest.h>

#include <vector>

#include "setup/sysconfig/security/basic_object.h"

namespace setup::sysconfig::security {
namespace {

class Probe : public BasicObject
{
public:
    using BasicObject::BasicObject;
    bool Operate() { return CheckObject(); }
};

TEST(BasicObject, ErrorStateFollowsTheLastOperation)
{
    const Ref<Probe> probe = MakeRef<Probe>();
    EXPECT_TRUE(probe->SetErrorCode(0));
    EXPECT_FALSE(probe->SetErrorCode(kErrorInvalidIndex));
    EXPECT_EQ(probe->ErrorText(), "Invalid index.");
    EXPECT_TRUE(probe->SetErrorCode(0));
    EXPECT_EQ(probe->ErrorText(), "");
    probe->SetError(5, "custom");
    EXPECT_FALSE(probe->Succeeded());
    EXPECT_TRUE(probe->SetErrorText(""));  // an empty text clears the code
    EXPECT_EQ(probe->ErrorCode(), 0u);
    probe->SetErrorCode(2);
    EXPECT_FALSE(probe->ErrorText().empty());  // made from the code on demand
}

TEST(BasicObject, InvalidObjectKeepsItsCauseUntilUsed)
{
    const Ref<Probe> probe = MakeRef<Probe>(false, 1332, "no mapping");
    EXPECT_EQ(probe->ErrorCode(), 1332u);
    EXPECT_EQ(probe->ErrorText(), "no mapping");
    EXPECT_FALSE(probe->Operate());
    EXPECT_EQ(probe->ErrorCode(), kErrorObjectInvalid);
    EXPECT_EQ(probe->ErrorText(), "This object is invalid.");
}

std::vector<std::uintptr_t> g_released;
void RecordRelease(std::uintptr_t* data)
{
    g_released.push_back(*data);
}

TEST(BasicObject, DataWordsReleaseThroughTheRegisteredRoutine)
{
    g_released.clear();
    {
        const Ref<Probe> probe = MakeRef<Probe>();
        probe->SetDataWithProc(5, &RecordRelease);
        probe->SetData(6);  // releases 5, keeps the routine
        EXPECT_EQ(probe->Data(), 6u);
    }
    EXPECT_EQ(g_released, (std::vector<std::uintptr_t>{5, 6}));
}

}  // namespace
}  // namespace setup::sysconfig::security

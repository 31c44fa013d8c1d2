#include "shred/wipers/progress_file.h"
#include "shred/wipers/progress_file_estimate.h"
#include "shred/wipers/tests/progress_file_fakes.h"

#include <gtest/gtest.h>

namespace shred::wipers::testing {
namespace {

const std::string kHeader = "<Client>main</Client>\r\n<Drive>C</Drive>\r\n<Id>7</Id>\r\n";

TEST(ProgressFile, ShorterUpdateBlanksTheTailAndTheFileNeverShrinks)
{
    FakeProgressSystem system;
    system.AddProgressFile(L"p.xml", kHeader);
    auto file = ProgressFile::Open(system, L"p.xml");
    ASSERT_NE(file, nullptr);

    file->Rewrite({kFreeSpaceOperation, 45, 123456, kStatusInProgress});
    const std::string longText = kHeader +
                                 "<OperationName>Shred Free Disk Space</OperationName>\r\n"
                                 "<Progress>45</Progress>\r\n<TimeLeft>123456</TimeLeft>\r\n"
                                 "<Status>In progress</Status>\r\n";
    EXPECT_EQ(system.files[L"p.xml"], longText);

    file->Rewrite({kFreeSpaceOperation, 5, std::nullopt, kStatusAborted});
    std::string shortText = kHeader +
                            "<OperationName>Shred Free Disk Space</OperationName>\r\n"
                            "<Progress>5</Progress>\r\n<Status>Aborted</Status>\r\n";
    ASSERT_LT(shortText.size(), longText.size());
    shortText.append(longText.size() - shortText.size(), ' ');
    EXPECT_EQ(system.files[L"p.xml"], shortText);
}

TEST(ProgressFile, HeaderIsReadInTextModeAndWrittenBackWithCarriageReturns)
{
    FakeProgressSystem system;
    system.AddProgressFile(L"p.xml", "a\nb\r\nc");
    auto file = ProgressFile::Open(system, L"p.xml");
    ASSERT_NE(file, nullptr);
    file->Rewrite({kSlackOperation, std::nullopt, std::nullopt, kStatusFinished});
    EXPECT_EQ(system.files[L"p.xml"],
              "a\r\nb\r\nc<OperationName>Shred Slack Space</OperationName>\r\n"
              "<Status>Finished</Status>\r\n");
}

TEST(ProgressFile, ErrorTextIsWrittenAfterTheHeader)
{
    FakeProgressSystem system;
    system.AddProgressFile(L"p.xml", kHeader);
    auto file = ProgressFile::Open(system, L"p.xml");
    ASSERT_NE(file, nullptr);
    file->Append("Q:\\VNTShred Error: 3 Drive type: 1");
    EXPECT_EQ(system.files[L"p.xml"], kHeader + "Q:\\VNTShred Error: 3 Drive type: 1");
}

TEST(ProgressFile, ClientInputAbortIsCaseSensitiveAndFoundAnywhere)
{
    const struct
    {
        const wchar_t* text;
        bool abort;
    } cases[] = {{L"ABORT", true}, {L"xxABORTyy\r\n", true}, {L"abort", false}, {L"ABOR T", false},
                 {L"", false},     {L"PAUSE\nABORT\n", true}};
    for (const auto& c : cases)
        EXPECT_EQ(ClientInputAbort(c.text), c.abort)
            << std::string(c.text, c.text + wcslen(c.text));

    FakeProgressSystem system;
    char abortByte = 0;
    PollClientInput(system, abortByte);  // no command file: nothing happens
    EXPECT_EQ(abortByte, 0);
    system.clientInput = L"now ABORT";
    PollClientInput(system, abortByte);
    EXPECT_EQ(abortByte, 1);
}

TEST(ProgressFile, TargetIsChosenByWhatTheArgumentIs)
{
    FakeProgressSystem system;
    const void* file = system.AddProgressFile(L"p.xml", "");
    const void* missing = system.AddProgressFile(L"gone.xml", "");
    system.files.erase(L"gone.xml");
    const void* locked = system.AddProgressFile(L"locked.xml", "");
    system.unopenable.insert(L"locked.xml");
    int function = 0;
    system.code.insert(&function);
    int junk = 0;

    EXPECT_TRUE(ChooseProgressTarget(system, file).FileMode());
    for (const void* argument :
         {missing, locked, static_cast<const void*>(&junk), static_cast<const void*>(nullptr)}) {
        const ProgressTarget target = ChooseProgressTarget(system, argument);
        EXPECT_FALSE(target.FileMode());
        EXPECT_EQ(target.callback, nullptr);
    }
    const ProgressTarget callback = ChooseProgressTarget(system, &function);
    EXPECT_FALSE(callback.FileMode());
    EXPECT_EQ(callback.callback, &function);
}

}  // namespace
}  // namespace shred::wipers::testing

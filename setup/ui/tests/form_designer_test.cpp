// Loading page files into a form with no display: the file layouts, read errors, clashing names
// and the form's own name.
#include "setup/ui/form_designer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "setup/forms/binary_form.h"
#include "setup/forms/form_errors.h"
#include "setup/forms/text_form.h"
#include "setup/ui/application.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/flash/flash_frame.h"
#include "setup/ui/vista_glass.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/recording_fakes.h"

namespace setup::ui::testing {
namespace {

// A page form owning its designer, as the wizard pages do.
struct DesignedPage
{
    DesignedPage()
    {
        RegisterPageClasses(registry);
        designer->SetName("Designer");
        designer->registry = &registry;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < page.ComponentCount(); ++i)
            names.push_back(page.Component(i)->Name() + ":" + page.Component(i)->ClassName());
        return names;
    }

    forms::ClassRegistry registry;
    TForm page;
    TFormDesigner* designer = new TFormDesigner(&page);
};

std::string WriteFixture(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const auto path =
        std::filesystem::temp_directory_path() /
        ("form_designer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::string TextFile(const std::string& name, const std::string& text)
{
    return WriteFixture(name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string BinaryFile(const std::string& name, const std::string& text)
{
    const std::vector<std::uint8_t> stream = forms::WriteBinaryForm(forms::ReadTextForm(text));
    std::vector<std::uint8_t> file = forms::FormResourceHeader("PAGE", stream.size());
    file.insert(file.end(), stream.begin(), stream.end());
    return WriteFixture(name, file);
}

const char* const kWelcome = R"(object Welcome: TForm
  Caption = 'Welcome'
  object Label1: TLabel
    Caption = 'Hello'
  end
  object Button1: TButton
    Caption = 'Next'
  end
end
)";

TEST(FormDesigner, LoadsABinaryPageFileThroughItsResourceHeader)
{
    DesignedPage page;
    page.designer->LoadFromFile(BinaryFile("binary.dfm", kWelcome), FormFileLayout::Binary);
    EXPECT_EQ(page.page.Name(), "Welcome");
    EXPECT_EQ(page.Names(), (std::vector<std::string>{"Designer:TFormDesigner", "Label1:TLabel",
                                                      "Button1:TButton"}));
    EXPECT_EQ(dynamic_cast<TLabel*>(page.page.FindComponent("Label1"))->Caption(), "Hello");
}

TEST(FormDesigner, RefusesAResourceHeaderOfAnotherKindBeforeReadingAnything)
{
    const std::vector<std::uint8_t> stream = forms::WriteBinaryForm(forms::ReadTextForm(kWelcome));
    for (const auto& [offset, byte] :
         std::vector<std::pair<std::size_t, std::uint8_t>>{{0, 0xFE}, {1, 11}, {2, 1}}) {
        std::vector<std::uint8_t> file = forms::FormResourceHeader("PAGE", stream.size());
        file.insert(file.end(), stream.begin(), stream.end());
        file[offset] = byte;
        DesignedPage page;
        page.page.SetName("Before");
        try {
            page.designer->LoadFromFile(WriteFixture("header.dfm", file), FormFileLayout::Binary);
            ADD_FAILURE() << "byte " << offset << " was taken";
        } catch (const forms::EInvalidStreamFormat& error) {
            EXPECT_STREQ(error.what(), "Invalid stream format");
        }
        EXPECT_EQ(page.Names(), (std::vector<std::string>{"Designer:TFormDesigner"}));
        EXPECT_EQ(page.page.Name(), "Before");
    }
}

TEST(FormDesigner, SkipsAnUnregisteredClassWithItsChildrenUnlessTheHandlerRefuses)
{
    const std::string text = R"(object Page: TForm
  object Label1: TLabel
  end
  object Frame1: TUnknownFrame
    object Label2: TLabel
    end
  end
  object Button1: TButton
  end
end
)";
    DesignedPage skipping;
    std::vector<std::string> messages;
    skipping.designer->onReadError = [&](forms::ComponentReader&, const std::string& message,
                                         bool& handled) {
        EXPECT_TRUE(handled);
        messages.push_back(message);
    };
    skipping.designer->LoadFromFile(TextFile("unknown.txt", text), FormFileLayout::Text);
    EXPECT_EQ(skipping.Names(), (std::vector<std::string>{"Designer:TFormDesigner", "Label1:TLabel",
                                                          "Button1:TButton"}));
    EXPECT_EQ(messages, (std::vector<std::string>{"Class TUnknownFrame not found"}));

    // Refused: the load ends there, and what was read stays, loaded.
    DesignedPage refusing;
    refusing.designer->onReadError = [](forms::ComponentReader&, const std::string&,
                                        bool& handled) { handled = false; };
    EXPECT_THROW(
        refusing.designer->LoadFromFile(TextFile("unknown.txt", text), FormFileLayout::Text),
        forms::EReadError);
    EXPECT_EQ(refusing.Names(),
              (std::vector<std::string>{"Designer:TFormDesigner", "Label1:TLabel"}));
    EXPECT_FALSE(refusing.page.FindComponent("Label1")->HasState(forms::csLoading));
}

TEST(FormDesigner, RenamesAComponentWhoseNameTheFormAlreadyHas)
{
    struct Case
    {
        const char* className;
        const char* storedName;
        const char* name;
    };
    const Case cases[] = {
        {"TLabel", "Label1", "Label3"},  // Label2 is taken too
        {"TButton", "Label1", "Button2"},
        {"TButton", "Other", "Other"},
        {"TLabel", "", ""},
    };
    for (const Case& c : cases) {
        DesignedPage page;
        page.designer->clearBeforeLoad = false;
        (new TLabel(&page.page))->SetName("Label1");
        (new TLabel(&page.page))->SetName("Label2");
        const std::string header =
            *c.storedName ? std::string(c.storedName) + ": " + c.className : c.className;
        const std::string text = "object Page: TForm\n  object " + header + "\n  end\nend\n";
        page.designer->LoadFromFile(TextFile("clash.txt", text), FormFileLayout::Text);
        ASSERT_EQ(page.page.ComponentCount(), 4u) << c.className << " " << c.storedName;
        const forms::TComponent* read = page.page.Component(3);
        EXPECT_EQ(read->ClassName(), c.className);
        EXPECT_EQ(read->Name(), c.name) << c.className << " " << c.storedName;
    }
}

TEST(FormDesigner, ClearsTheFormFirstUnlessToldToAddBeside)
{
    const std::string path = TextFile("welcome.txt", kWelcome);
    DesignedPage adding;
    adding.designer->clearBeforeLoad = false;
    adding.designer->LoadFromFile(path, FormFileLayout::Text);
    adding.designer->LoadFromFile(path, FormFileLayout::Text);
    EXPECT_EQ(adding.Names(),
              (std::vector<std::string>{"Designer:TFormDesigner", "Label1:TLabel",
                                        "Button1:TButton", "Label2:TLabel", "Button2:TButton"}));

    DesignedPage clearing;
    clearing.designer->LoadFromFile(path, FormFileLayout::Text);
    clearing.designer->LoadFromFile(path, FormFileLayout::Text);
    EXPECT_EQ(clearing.Names(), (std::vector<std::string>{"Designer:TFormDesigner", "Label1:TLabel",
                                                          "Button1:TButton"}));
}

TEST(FormDesigner, GivesTheFormTheStoredNameUnlessAnotherFormBearsIt)
{
    ScriptedLoop loop;
    TApplication application(loop);
    TForm first;
    TForm second;
    application.AddForm(first);
    application.AddForm(second);
    first.SetName("Welcome");
    second.SetName("Welcome_1");
    DesignedPage page;
    application.AddForm(page.page);
    page.page.SetName("Welcome");  // its own name does not count
    page.designer->LoadFromFile(TextFile("welcome.txt", kWelcome), FormFileLayout::Text);
    EXPECT_EQ(page.page.Name(), "Welcome_2");
    application.RemoveForm(page.page);
    application.RemoveForm(second);
    application.RemoveForm(first);
}

TEST(FormDesigner, KeepsTheDesignPositionOfANonVisualComponent)
{
    DesignedPage page;
    page.designer->LoadFromFile(TextFile("glass.txt", R"(object Page: TForm
  object VistaGlass1: TVistaGlass
    Left = 40
    Top = 8
  end
end
)"),
                                FormFileLayout::Text);
    const forms::TComponent* glass = page.page.FindComponent("VistaGlass1");
    ASSERT_NE(glass, nullptr);
    EXPECT_EQ(glass->DesignInfo(), (8u << 16) | 40u);
}

TEST(FormDesigner, DoesNothingWithoutAForm)
{
    forms::TComponent owner(nullptr);
    TFormDesigner designer(&owner);
    designer.LoadFromFile("no such file", FormFileLayout::Binary);  // not even opened
    EXPECT_EQ(designer.Form(), nullptr);
    DesignedPage page;
    EXPECT_THROW(page.designer->LoadFromFile(
                     (std::filesystem::temp_directory_path() / "no_such_page.dfm").string(),
                     FormFileLayout::Binary),
                 rtl::Exception);
}

}  // namespace
}  // namespace setup::ui::testing

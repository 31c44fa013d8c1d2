#include "setup/ui/tests/test_page.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "setup/forms/binary_form.h"
#include "setup/forms/class_builder.h"
#include "setup/forms/component_reader.h"
#include "setup/forms/text_form.h"
#include "setup/ui/page_classes.h"

namespace setup::ui::testing {

using forms::ClassBuilder;
using forms::ClassInfo;

const ClassInfo& TTestPage::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTestPage>("TTestPage", &TForm::StaticClass())
            .Method("Label1Click", &TTestPage::Label1Click)
            .Method("Edit1Change", &TTestPage::Edit1Change)
            .Method("Button1Click", &TTestPage::Button1Click)
            .Method("ListBox1Click", &TTestPage::ListBox1Click)
            .Method("CheckListBox1ClickCheck", &TTestPage::CheckListBox1ClickCheck)
            .Method("ComboBox1Change", &TTestPage::ComboBox1Change)
            .Method("CheckBox1Click", &TTestPage::CheckBox1Click)
            .Method("Image1Click", &TTestPage::Image1Click)
            .Method("Shape1MouseUp", &TTestPage::Shape1MouseUp)
            .Method("TrackBar1Change", &TTestPage::TrackBar1Change)
            .Method("MaskEdit1KeyUp", &TTestPage::MaskEdit1KeyUp)
            .Method("TreeView1Change", &TTestPage::TreeView1Change)
            .Method("FileListBox1Change", &TTestPage::FileListBox1Change)
            .Method("DirectoryListBox1Change", &TTestPage::DirectoryListBox1Change)
            .Method("DriveComboBox1Change", &TTestPage::DriveComboBox1Change)
            .Build();
    return info;
}

void TTestPage::Record(const char* handler, TObject* sender)
{
    const auto* component = dynamic_cast<const forms::TComponent*>(sender);
    events.push_back(std::string(handler) + " " + (component ? component->Name() : "?"));
}

std::string PageText(const std::string& dataFolder, const std::string& fileName)
{
    std::ifstream in(dataFolder + "/" + fileName, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + fileName + " in " + dataFolder);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string EveryControlText(const std::string& dataFolder)
{
    return PageText(dataFolder, "every_control.txt");
}

void LoadPage(const std::string& text, TForm& page, std::vector<std::string>* errors)
{
    const std::vector<std::uint8_t> stream = forms::WriteBinaryForm(forms::ReadTextForm(text));
    std::vector<std::uint8_t> file = forms::FormResourceHeader("EVERYCONTROL", stream.size());
    file.insert(file.end(), stream.begin(), stream.end());
    forms::ClassRegistry registry;
    RegisterPageClasses(registry);
    forms::ComponentReader reader(registry);
    reader.OnError = [errors](const std::string& message) {
        if (errors)
            errors->push_back(message);
        return true;
    };
    reader.ReadRootComponent(forms::ReadBinaryForm(forms::SkipFormResourceHeader(file)), page);
}

}  // namespace setup::ui::testing

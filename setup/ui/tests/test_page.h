// A page form for the tests and the screenshots: publishes the handlers the fixture's controls
// name, each recording "Handler Sender" so a test can check which events ran.
#pragma once

#include <string>
#include <vector>

#include "setup/forms/class_info.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/form.h"

namespace setup::ui::testing {

class TTestPage : public TForm
{
public:
    FORMS_CLASS_INFO()
    explicit TTestPage(forms::TComponent* owner = nullptr) : TForm(owner) {}

    void Label1Click(TObject* sender) { Record("Label1Click", sender); }
    void Edit1Change(TObject* sender) { Record("Edit1Change", sender); }
    void Button1Click(TObject* sender) { Record("Button1Click", sender); }
    void ListBox1Click(TObject* sender) { Record("ListBox1Click", sender); }
    void CheckListBox1ClickCheck(TObject* sender) { Record("CheckListBox1ClickCheck", sender); }
    void ComboBox1Change(TObject* sender) { Record("ComboBox1Change", sender); }
    void CheckBox1Click(TObject* sender) { Record("CheckBox1Click", sender); }
    void Image1Click(TObject* sender) { Record("Image1Click", sender); }
    void Shape1MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)
    {
        Record("Shape1MouseUp", sender);
    }
    void TrackBar1Change(TObject* sender) { Record("TrackBar1Change", sender); }
    void MaskEdit1KeyUp(TObject* sender, std::uint16_t& key, TShiftState shift)
    {
        Record("MaskEdit1KeyUp", sender);
    }
    void TreeView1Change(TObject* sender, TTreeNode* node) { Record("TreeView1Change", sender); }
    void FileListBox1Change(TObject* sender) { Record("FileListBox1Change", sender); }
    void DirectoryListBox1Change(TObject* sender) { Record("DirectoryListBox1Change", sender); }
    void DriveComboBox1Change(TObject* sender) { Record("DriveComboBox1Change", sender); }

    std::vector<std::string> events;

private:
    void Record(const char* handler, TObject* sender);
};

// A text form file of the test data folder.
std::string PageText(const std::string& dataFolder, const std::string& fileName);
// The page fixture with one control of every page class, as text.
std::string EveryControlText(const std::string& dataFolder);
// Loads the text as a binary page file (compiled with its resource header, then read) into the
// page; each read error is kept in `errors` and skipped.
void LoadPage(const std::string& text, TForm& page, std::vector<std::string>* errors = nullptr);

}  // namespace setup::ui::testing

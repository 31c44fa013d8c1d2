// Form controls in the text: a window control standing in a line like a picture (the room it
// takes and the place painting moves it to; controls stay off-screen until painted), and a
// picture that acts as a button.
#pragma once

namespace htmlview {

struct InlineSize
{
    int width = 0, height = 0;
};

class IInlineControl
{
public:
    virtual ~IInlineControl() = default;
    // The room it takes in a line `availWidth` wide, in a block `availHeight` high (sizes in
    // percent take their share).
    virtual InlineSize SizeInLine(int availWidth, int availHeight) = 0;
    // Its top left corner on the paint area, scrolling applied.
    virtual void PlaceAt(int x, int y) = 0;
    // Out of sight, still able to take the focus, until a paint places it again.
    virtual void Park() = 0;

    // Placed by painting: a paint after the controls moved parks those it did not reach.
    void Show(int x, int y)
    {
        shown = true;
        PlaceAt(x, y);
    }
    bool shown = false;
    int layoutY = 0;  // the top of its line in the document, from the last layout
};

// A picture that acts as a button: it hears where on it the user clicked.
class IImageClick
{
public:
    virtual ~IImageClick() = default;
    virtual void ClickAt(int x, int y) = 0;
};

}  // namespace htmlview

// Pictures of form files: bitmaps, icons, metafiles and JPEG images kept as the bytes of their
// files, with their size read from the headers and pixels decoded on first use. TPicture holds one
// of them and reads and writes its form-file property "Data" (the class name, then the data).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "setup/forms/persistent.h"
#include "setup/htmlview/images/pixel_image.h"

namespace setup::ui {

enum class GraphicFormat
{
    Bitmap,
    Icon,
    Metafile,
    Jpeg,
};

class TGraphic : public forms::TPersistent
{
public:
    FORMS_CLASS_INFO()

    virtual GraphicFormat Format() const = 0;
    bool Empty() const { return m_file.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The whole file: a BMP, ICO, EMF or WMF (placeable or not), or JPEG file.
    const std::string& FileBytes() const { return m_file; }
    // Takes a file's bytes; raises rtl::Exception when the header is not of this format.
    void LoadFromBytes(std::string file);
    // The decoded pixels of a bitmap or JPEG image; null for other formats and data that does not
    // decode.
    const htmlview::PixelImage* Pixels() const;

    // The graphic's data in a form file: a 32-bit size and the file for bitmaps, metafiles and
    // JPEG images, the bare file for icons.
    std::string SaveData() const;
    void LoadData(std::string_view data);

    void Assign(const forms::TPersistent& source) override;
    // As an owned property (a glyph, a form's icon), the graphic stores its data as "Data".
    void DefineProperties(forms::PropertyDefiner& definer) override;

protected:
    // The size the header gives; nullopt when the bytes are not of this format.
    virtual std::optional<std::pair<int, int>> ReadSize(std::string_view file) const = 0;
    virtual bool SizePrefixed() const { return true; }

private:
    std::string m_file;
    int m_width = 0;
    int m_height = 0;
    mutable std::optional<htmlview::PixelImage> m_pixels;
    mutable bool m_decoded = false;
};

class TBitmap : public TGraphic
{
public:
    FORMS_CLASS_INFO()
    GraphicFormat Format() const override { return GraphicFormat::Bitmap; }

protected:
    std::optional<std::pair<int, int>> ReadSize(std::string_view file) const override;
};

class TIcon : public TGraphic
{
public:
    FORMS_CLASS_INFO()
    GraphicFormat Format() const override { return GraphicFormat::Icon; }

protected:
    std::optional<std::pair<int, int>> ReadSize(std::string_view file) const override;
    bool SizePrefixed() const override { return false; }
};

class TMetafile : public TGraphic
{
public:
    FORMS_CLASS_INFO()
    GraphicFormat Format() const override { return GraphicFormat::Metafile; }

protected:
    std::optional<std::pair<int, int>> ReadSize(std::string_view file) const override;
};

class TJPEGImage : public TGraphic
{
public:
    FORMS_CLASS_INFO()
    GraphicFormat Format() const override { return GraphicFormat::Jpeg; }

protected:
    std::optional<std::pair<int, int>> ReadSize(std::string_view file) const override;
};

class TPicture : public forms::TPersistent
{
public:
    FORMS_CLASS_INFO()

    TGraphic* Graphic() const { return m_graphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    int Width() const { return m_graphic ? m_graphic->Width() : 0; }
    int Height() const { return m_graphic ? m_graphic->Height() : 0; }
    std::function<void()> OnChange;

    void Assign(const forms::TPersistent& source) override;
    void DefineProperties(forms::PropertyDefiner& definer) override;

private:
    void Changed();
    std::unique_ptr<TGraphic> m_graphic;
};

// A new empty graphic of the class a picture's data names; null for an unknown class.
std::unique_ptr<TGraphic> CreateGraphic(std::string_view className);

}  // namespace setup::ui

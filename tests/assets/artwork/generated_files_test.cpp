// The committed files are exactly what the generator draws, and the build
// embeds them unchanged.
#include "decoded_picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

using namespace velkaro::assets;
namespace fs = std::filesystem;

namespace {

struct EmbeddedFile {
    const char* file;
    Blob blob;
};

std::vector<EmbeddedFile> embeddedFiles()
{
    return {
        {"background.jpg", windowBackgroundImage()},
        {"caption_help.png", captionGlyphImage(CaptionGlyph::Help)},
        {"caption_main_menu.png", captionGlyphImage(CaptionGlyph::MainMenu)},
        {"caption_minimize.png", captionGlyphImage(CaptionGlyph::Minimize)},
        {"caption_maximize.png", captionGlyphImage(CaptionGlyph::Maximize)},
        {"caption_restore.png", captionGlyphImage(CaptionGlyph::Restore)},
        {"caption_close.png", captionGlyphImage(CaptionGlyph::Close)},
        {"check_mark.png", checkMarkImage()},
        {"arrow_up.png", arrowUpImage()},
        {"arrow_down.png", arrowDownImage()},
        {"arrow_left.png", arrowLeftImage()},
        {"arrow_right.png", arrowRightImage()},
        {"program_icon_32.png", {programIcon32Png, programIcon32Png_size}},
        {"program_icon_17.png", {programIcon17Png, programIcon17Png_size}},
        {"overlay_0.png", overlayImage(0)},
        {"overlay_1.png", overlayImage(1)},
        {"overlay_2.png", overlayImage(2)},
        {"overlay_3.png", overlayImage(3)},
        {"overlay_4.png", overlayImage(4)},
        {"overlay_5.png", overlayImage(5)},
        {"greeting.wav", greetingSoundFile()},
        {"default_photo.jpg", defaultPhotoImage()},
    };
}

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "vk-assets-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

}  // namespace

TEST(GeneratedFiles, EmbeddedBytesEqualTheCommittedFiles)
{
    for (const EmbeddedFile& e : embeddedFiles()) {
        SCOPED_TRACE(e.file);
        std::vector<unsigned char> committed = assets_test::readFile(std::string(VK_ASSET_GENERATED_DIR) + "/" + e.file);
        ASSERT_FALSE(committed.empty());
        ASSERT_EQ(e.blob.size, committed.size());
        EXPECT_TRUE(std::equal(committed.begin(), committed.end(), e.blob.data));
    }
}

TEST(GeneratedFiles, GeneratorReproducesEveryCommittedFileByteForByte)
{
    TempDir out;
    ASSERT_FALSE(out.path().empty());
    std::string command = std::string("'") + VK_ASSET_GENERATOR + "' '" + out.path().string() + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

    std::vector<std::string> committed, drawn;
    for (const auto& entry : fs::directory_iterator(VK_ASSET_GENERATED_DIR))
        committed.push_back(entry.path().filename().string());
    for (const auto& entry : fs::directory_iterator(out.path()))
        drawn.push_back(entry.path().filename().string());
    std::sort(committed.begin(), committed.end());
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(committed, drawn);
    for (const std::string& name : drawn) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> a = assets_test::readFile(std::string(VK_ASSET_GENERATED_DIR) + "/" + name);
        std::vector<unsigned char> b = assets_test::readFile((out.path() / name).string());
        EXPECT_EQ(a.size(), b.size());
        EXPECT_TRUE(a == b) << "run the regenerate-assets target and commit the result";
    }
}

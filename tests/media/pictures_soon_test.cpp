// Pictures loaded beside the frames: handed over as a direct load gives them, those that
// cannot be loaded left out, and the loader stopping at once when the game ends mid-load.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "media/desktop/pictures_soon.h"
#include "media/pictures/picture_file.h"
#include "media/scripted/scripted_media.h"
#include "picture_test_files.h"
#include "support/test_support.h"

namespace {

// Every picture asked for, once the loader has got through them all.
std::vector<std::unique_ptr<Image>> everyPictureFrom(PicturesSoon& soon, size_t count) {
    std::vector<std::unique_ptr<Image>> pictures;
    for (int tries = 0; pictures.size() < count && tries < 5000; ++tries) {
        for (std::unique_ptr<Image>& picture : soon.takeLoaded()) pictures.push_back(std::move(picture));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pictures;
}

Bytes greyPicture(int width, int height, uint8_t grey) {
    return pngFile(pngSpec(width, height, PNG_COLOR_TYPE_RGB, 8, std::vector<Bytes>(height, Bytes(width * 3, grey))));
}

TEST(PicturesSoon, HandsOverWhatADirectLoadGivesLeavingOutWhatCannotBeLoaded) {
    ScratchFolder folder{"pictures-soon"};
    WorkingFolder inside{folder.path()};
    ScriptedMedia media;
    writeBytes(folder.file("gfx/back/b1.vvx"), greyPicture(801, 600, 70));  // kept as its file
    writeBytes(folder.file("gfx/back/small.spr"), greyPicture(40, 30, 130));
    writeBytes(folder.file("gfx/back/broken.vvx"), Bytes{1, 2, 3});
    PicturesSoon soon({"gfx/back/b1.vvx", "gfx/back/missing.vvx", "gfx/back/broken.vvx", "gfx/back/small.spr"},
                      [&media](const std::string& path) { return media.loadImage(path); });
    const std::vector<std::unique_ptr<Image>> loaded = everyPictureFrom(soon, 2);
    ASSERT_EQ(loaded.size(), 2u);
    const auto large = media.loadImage("gfx/back/b1.vvx");
    ASSERT_TRUE(large && large->file);
    EXPECT_EQ(loaded[0]->file, large->file) << "the file loaded ahead is the one the screen gets";
    EXPECT_EQ(FramePixels(*loaded[0])[0].rgba, FramePixels(*large)[0].rgba);
    const auto small = media.loadImage("gfx/back/small.spr");
    EXPECT_EQ(loaded[1]->width, small->width);
    EXPECT_EQ(loaded[1]->frames[0].rgba, small->frames[0].rgba);
    EXPECT_TRUE(soon.takeLoaded().empty()) << "each picture is handed over once";
}

// The frame's thread loads a large picture while the loader loads another beside it: both are
// kept as their files, and each is found again by a later load of the same bytes.
TEST(PicturesSoon, LoadsOnTheFramesThreadMeanwhileAreSafe) {
    ScratchFolder folder{"pictures-soon-beside"};
    WorkingFolder inside{folder.path()};
    ScriptedMedia media;
    writeBytes(folder.file("gfx/back/b1.vvx"), greyPicture(801, 600, 70));
    writeBytes(folder.file("gfx/back/b2.vvx"), greyPicture(801, 600, 90));
    PicturesSoon soon({"gfx/back/b1.vvx"}, [&media](const std::string& path) { return media.loadImage(path); });
    const auto beside = media.loadImage("gfx/back/b2.vvx");
    const std::vector<std::unique_ptr<Image>> loaded = everyPictureFrom(soon, 1);
    ASSERT_EQ(loaded.size(), 1u);
    ASSERT_TRUE(beside && beside->file);
    EXPECT_EQ(media.loadImage("gfx/back/b2.vvx")->file, beside->file);
    EXPECT_EQ(media.loadImage("gfx/back/b1.vvx")->file, loaded[0]->file);
}

// The game ends just as quick loads are handed over, again and again.
TEST(PicturesSoon, EndingAsLoadsAreHandedOverIsSafe) {
    for (int start = 0; start < 300; ++start) {
        PicturesSoon soon({"a", "b"}, [](const std::string&) { return std::make_unique<Image>(); });
        std::this_thread::yield();
    }
}

// The game ends while a large picture is being decoded: the loader finishes that one and
// starts no other.
TEST(PicturesSoon, StopsAfterThePictureBeingLoadedWhenItGoes) {
    std::mutex lock;
    std::condition_variable changed;
    bool loading = false, mayFinish = false;
    std::atomic<int> loads = 0;
    auto soon = std::make_unique<PicturesSoon>(std::vector<std::string>{"a", "b", "c"}, [&](const std::string&) {
        loads += 1;
        std::unique_lock<std::mutex> guard(lock);
        loading = true;
        changed.notify_all();
        changed.wait(guard, [&] { return mayFinish; });
        return std::make_unique<Image>();
    });
    {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [&] { return loading; });
    }
    std::atomic<bool> ended = false;
    std::thread ending([&soon, &ended] {
        soon.reset();
        ended = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the destructor is waiting
    EXPECT_FALSE(ended) << "gone while its load still runs";
    {
        std::lock_guard<std::mutex> guard(lock);
        mayFinish = true;
    }
    changed.notify_all();
    ending.join();
    EXPECT_EQ(loads, 1);
}

}  // namespace

// Damaged datafiles through the same reading and check the game runs at
// start-up: every one must be refused before anything is shown (the game
// then shows its one message box and ends), none may crash the reader or
// slip through the check, and whatever passes must unpack. The damaged
// copies are all made from the real generated datafile. And the game's own
// unpacking of pictures gives the library's pictures, pixel for pixel.
#include "fault/datafile_image.h"
#include "game/catalogue.h"
#include "game/datafile.h"
#include "support/headless.h"
#include <allegro.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

// Each case runs in a process of its own, often beside the others, so each
// writes its damaged copy under a name of its own.
const std::string damagedName = "damaged-" + std::to_string(getpid()) + ".dat";
const char *const DAMAGED = damagedName.c_str();

// Frees one unpacked object.
void dropUnpacked(void *data, int type)
{
    DATAFILE *entry = static_cast<DATAFILE *>(malloc(sizeof(DATAFILE)));
    *entry = {data, type, 0, nullptr};
    unload_datafile_object(entry);
}

// What start-up does with the datafile: read it whole under the password and
// check every object, before anything is shown; then unpack what it keeps.
bool gameAcceptsDatafile(const char *path)
{
    if (!readPackedDatafile(path, DATAFILE_PASSWORD))
        return false;
    for (int i = 0; i < DATAFILE_OBJECTS; i++) {
        if (!objectIsBound(i))
            continue;
        void *data = unpackObject(i);
        if (!data)
            return false;
        dropUnpacked(data, packedObjectType(i));
    }
    return true;
}

// The real datafile, as bytes on disk and taken apart.
class BadDatafile : public ::testing::Test {
protected:
    static std::string fileBytes;
    static DatafileImage image;

    static void SetUpTestSuite()
    {
        startHeadlessAllegro();
        std::ifstream in(DATAFILE_NAME, std::ios::binary);
        fileBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_TRUE(takeDatafileApart(DATAFILE_NAME, DATAFILE_PASSWORD, image));
    }

    void TearDown() override { std::remove(DAMAGED); }

    // Writes the first n bytes of the real file.
    static void writeCut(size_t n)
    {
        std::ofstream out(DAMAGED, std::ios::binary | std::ios::trunc);
        out.write(fileBytes.data(), (std::streamsize)n);
    }

    // Packs a changed image under the game's password (or another one).
    static void writeImage(const DatafileImage &changed, const char *password = DATAFILE_PASSWORD)
    {
        ASSERT_TRUE(writePackedStream(DAMAGED, password, buildDatafile(changed)));
    }
};

std::string BadDatafile::fileBytes;
DatafileImage BadDatafile::image;

// Without this the other cases would prove nothing: an undamaged copy made the
// same way loads, and the datafile has exactly the objects the game binds.
TEST_F(BadDatafile, UndamagedCopyIsAccepted)
{
    ASSERT_EQ(image.objects.size(), (size_t)DATAFILE_OBJECTS);
    EXPECT_TRUE(gameAcceptsDatafile(DATAFILE_NAME));
    writeImage(image);
    EXPECT_TRUE(gameAcceptsDatafile(DAMAGED));
}

TEST_F(BadDatafile, FileCutShortAnywhereIsRefused)
{
    size_t size = fileBytes.size();
    ASSERT_GT(size, 4096u);
    std::vector<size_t> cuts = {0, 1, 3, 4, 5, 8, 12, 16, 64, 1000, 4096, size - 4096, size - 64,
                                size - 8, size - 2, size - 1};
    // Thirty more spread over the file, so that every object's span is likely hit.
    for (size_t i = 1; i <= 30; i++)
        cuts.push_back(size * i / 31 + i);
    for (size_t n : cuts) {
        writeCut(n);
        EXPECT_FALSE(gameAcceptsDatafile(DAMAGED)) << "cut at " << n << " of " << size;
    }
}

TEST_F(BadDatafile, UnpackedStreamCutShortIsRefused)
{
    // Cuts inside the header, at record boundaries and inside records,
    // packed again properly: the loader meets a clean end of data.
    std::vector<unsigned char> raw = buildDatafile(image);
    std::vector<size_t> cuts = {0, 2, 4, 6, 8, 10, raw.size() - 1};
    size_t offset = 8;
    for (size_t i = 0; i < image.objects.size(); i += 11) {
        cuts.push_back(offset);
        cuts.push_back(offset + 5);
        cuts.push_back(offset + 12 + image.objects[i].bytes.size() / 2);
        for (size_t j = i; j < i + 11 && j < image.objects.size(); j++)
            offset += 12 + image.objects[j].bytes.size();
    }
    for (size_t n : cuts) {
        std::vector<unsigned char> cut(raw.begin(), raw.begin() + (long)n);
        ASSERT_TRUE(writePackedStream(DAMAGED, DATAFILE_PASSWORD, cut));
        EXPECT_FALSE(gameAcceptsDatafile(DAMAGED)) << "unpacked stream cut at " << n;
    }
}

TEST_F(BadDatafile, OtherPasswordOrNoneIsRefused)
{
    writeImage(image, "MFolkin5");
    EXPECT_FALSE(gameAcceptsDatafile(DAMAGED));
    writeImage(image, "not the password");
    EXPECT_FALSE(gameAcceptsDatafile(DAMAGED));
    writeImage(image, nullptr);
    EXPECT_FALSE(gameAcceptsDatafile(DAMAGED));
}

TEST_F(BadDatafile, ForeignObjectAtABoundIndexIsRefused)
{
    // One index of every kind the game binds: backgrounds, digits, buttons,
    // the well, both fonts, the three samples, menu pictures, clear frames
    // and the info picture.
    const size_t indices[] = {0, 1, 9, 10, 23, 24, 25, 29, 30, 31, 32, 33, 34, 35, 38, 41, 43,
                              100, 121, 164, 165};
    for (size_t index : indices) {
        DatafileImage changed = image;
        changed.objects[index] = binaryChunk("a plain binary object");
        writeImage(changed);
        EXPECT_FALSE(gameAcceptsDatafile(DAMAGED)) << "binary object at " << index;
    }
}

TEST_F(BadDatafile, RealObjectOfTheWrongKindIsRefused)
{
    // Well-formed objects in each other's places: a picture where a font
    // belongs, a sound where a picture belongs, a button where a digit belongs.
    const std::pair<size_t, size_t> swaps[] = {{0, 30}, {31, 29}, {1, 32}, {34, 165}, {2, 10}, {24, 29}};
    for (auto [a, b] : swaps) {
        DatafileImage changed = image;
        std::swap(changed.objects[a], changed.objects[b]);
        writeImage(changed);
        EXPECT_FALSE(gameAcceptsDatafile(DAMAGED)) << "objects " << a << " and " << b << " swapped";
    }
}

TEST_F(BadDatafile, FewerObjectsThanTheGameBindsAreRefused)
{
    for (size_t keep : {0, 1, 30, 42, 165}) {
        DatafileImage changed = image;
        changed.objects.resize(keep);
        writeImage(changed);
        EXPECT_FALSE(gameAcceptsDatafile(DAMAGED)) << keep << " objects";
    }
}

TEST_F(BadDatafile, ExtraObjectsPastTheLastBoundOneAreAllowed)
{
    // "At least" the bound objects: anything after them is not looked at.
    DatafileImage changed = image;
    changed.objects.push_back(binaryChunk("spare"));
    writeImage(changed);
    EXPECT_TRUE(gameAcceptsDatafile(DAMAGED));
}

// One object's bytes damaged in each of the ways that once crashed or hung
// the library's loaders: a length that is negative to it, fonts with no
// ranges, absurd ranges or cut inside a glyph, an 8-bit picture whose size
// overflows, an empty chunk, a sample longer than its bytes, and a picture
// that is kept packed until shown whose pixels end a byte early.
TEST_F(BadDatafile, EveryDamagedObjectIsRefusedBeforeTheMenu)
{
    for (int k = 0; k < DATAFILE_DAMAGE_COUNT; k++) {
        DatafileImage changed = image;
        ASSERT_TRUE(damageDatafile(changed, DATAFILE_DAMAGES[k]));
        std::vector<unsigned char> raw = buildDatafile(changed);
        EXPECT_FALSE(readDatafileStream(raw.data(), (long)raw.size())) << DATAFILE_DAMAGES[k];
    }
}

// The reader's memory source: a read of nothing, or of a negative length,
// copies nothing and never touches the (null) bytes.
TEST(PackedDatafile, ReadingNothingCopiesNothing)
{
    startHeadlessAllegro();
    unsigned char to[4] = {7, 7, 7, 7};
    const unsigned char bytes[4] = {1, 2, 3, 4};
    PACKFILE *empty = openMemoryBytes(nullptr, 0);
    ASSERT_TRUE(empty);
    EXPECT_EQ(pack_fread(to, 4, empty), 0);
    pack_fclose(empty);
    PACKFILE *four = openMemoryBytes(bytes, 4);
    ASSERT_TRUE(four);
    EXPECT_EQ(pack_fread(to, -1, four), 0);
    EXPECT_EQ(pack_fread(to, 4, four), 4);
    pack_fclose(four);
    EXPECT_EQ(to[3], 4);
}

TEST(PackedDatafile, PicturesUnpackAsTheLibraryLoadsThem)
{
    startHeadlessAllegro();
    set_color_conversion(COLORCONV_TOTAL);      // as in the game: every picture at the screen's depth
    packfile_password(DATAFILE_PASSWORD);
    DATAFILE *library = load_datafile(DATAFILE_NAME);
    packfile_password(nullptr);
    ASSERT_TRUE(library);
    ASSERT_TRUE(readPackedDatafile(DATAFILE_NAME, DATAFILE_PASSWORD));
    for (int i = 0; i < DATAFILE_OBJECTS; i++) {
        if (library[i].type != DAT_BITMAP)
            continue;
        BITMAP *theirs = static_cast<BITMAP *>(library[i].dat);
        BITMAP *ours = static_cast<BITMAP *>(unpackObject(i));
        ASSERT_TRUE(ours) << "object " << i;
        ASSERT_EQ(ours->w, theirs->w);
        ASSERT_EQ(ours->h, theirs->h);
        int differing = 0;
        for (int y = 0; y < ours->h; y++)
            for (int x = 0; x < ours->w; x++)
                differing += getpixel(ours, x, y) != getpixel(theirs, x, y);
        EXPECT_EQ(differing, 0) << "object " << i;
        destroy_bitmap(ours);
    }
    unload_datafile(library);
    set_color_conversion(COLORCONV_NONE);
}

}  // namespace

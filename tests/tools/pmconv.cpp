// Test tool: runs a list of load and save jobs through Pixmill so that the
// cross-check scripts can compare its decodes and files with independent
// tools while starting Wine only once.
//
// Job file, one job a line:
//   load <picture> <out.ppm> [image]      decode image number image (0 when
//                                         not given), write binary PPM (R, G, B)
//   save <in.ppm> <picture> <bits> [grey] [interlaced] [quality=N] [transparent]
//                                         save with those parameters;
//                                         transparent keys out the colour
//                                         of the top-left pixel
// One line of output per job: "ok", or "error <class> <detail>".
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "buffer.h"
#include "exceptions.h"
#include "gfxfile.h"

namespace {

// Unix paths from the scripts name the same files through Wine's Z: drive.
AnsiString WinPath(const std::string& path)
{
    if (!path.empty() && path[0] == '/') return AnsiString(("Z:" + path).c_str());
    return AnsiString(path.c_str());
}

void WritePpm(Buffer& b, const std::string& path)
{
    FILE* out = fopen(WinPath(path).c_str(), "wb");
    if (!out) throw Exception("cannot write " + AnsiString(path.c_str()));
    fprintf(out, "P6\n%d %d\n255\n", b.Width(), b.Height());
    std::vector<unsigned char> row(size_t(b.Width() > 0 ? b.Width() : 0) * 3);
    for (int y = b.top; y <= b.bottom; y++) {
        unsigned long* p = b.At(b.left, y);
        for (int x = 0; x < b.Width(); x++) {
            row[x * 3] = (unsigned char)(p[x] >> 16);
            row[x * 3 + 1] = (unsigned char)(p[x] >> 8);
            row[x * 3 + 2] = (unsigned char)p[x];
        }
        fwrite(row.data(), 1, row.size(), out);
    }
    if (fclose(out) != 0) throw Exception("cannot write " + AnsiString(path.c_str()));
}

// Binary PPM (P6) or PGM (P5), maxval 255.
void ReadPnm(Buffer& b, const std::string& path)
{
    FILE* in = fopen(WinPath(path).c_str(), "rb");
    if (!in) throw Exception("cannot read " + AnsiString(path.c_str()));
    char magic[3] = {};
    int w = 0, h = 0, maxval = 0;
    bool ok = fscanf(in, "%2s %d %d %d", magic, &w, &h, &maxval) == 4 && fgetc(in) != EOF && maxval == 255 &&
              w > 0 && h > 0 && (!strcmp(magic, "P6") || !strcmp(magic, "P5"));
    int channels = !strcmp(magic, "P6") ? 3 : 1;
    if (ok) {
        b.Alloc({w, h});
        std::vector<unsigned char> row(size_t(w) * channels);
        for (int y = 0; y < h && ok; y++) {
            ok = fread(row.data(), 1, row.size(), in) == row.size();
            for (int x = 0; x < w; x++) {
                const unsigned char* s = &row[size_t(x) * channels];
                *b.At(x, y) = channels == 3 ? (unsigned long)s[0] << 16 | s[1] << 8 | s[2]
                                            : (unsigned long)s[0] * 0x010101;
            }
        }
    }
    fclose(in);
    if (!ok) throw Exception("not a binary PPM or PGM: " + AnsiString(path.c_str()));
}

void RunJob(const std::vector<std::string>& words)
{
    if ((words.size() == 3 || words.size() == 4) && words[0] == "load") {
        Buffer b;
        GFXFileDesc d = {};
        GFXtra32 x = {};
        AnsiString name = WinPath(words[1]);
        GFXFile::Load(b, name, &x, words.size() == 4 ? atoi(words[3].c_str()) : 0, &d);
        WritePpm(b, words[2]);
    } else if (words.size() >= 4 && words[0] == "save") {
        Buffer b;
        ReadPnm(b, words[1]);
        GFXSaveParams p = {};
        p.bits = int8_t(atoi(words[3].c_str()));
        GFXtra32 x = {};
        bool keyed = false;
        for (size_t i = 4; i < words.size(); i++) {
            if (words[i] == "grey") {
                p.grey = 1;
            } else if (words[i] == "interlaced") {
                p.interlaced = 1;
            } else if (words[i].compare(0, 8, "quality=") == 0) {
                p.quality = uint8_t(atoi(words[i].c_str() + 8));
            } else if (words[i] == "transparent") {
                p.transparent = 1;
                x.colour2 = uint32_t(*b.At(0, 0));
                keyed = true;
            } else {
                throw Exception("unknown save option");
            }
        }
        if (!GFXFile::Save(b, WinPath(words[2]), keyed ? &x : nullptr, &p)) throw Exception("save refused");
    } else {
        throw Exception("unknown job");
    }
}

std::vector<std::string> Split(const char* line)
{
    std::vector<std::string> words;
    std::string word;
    for (const char* c = line; *c; c++) {
        if (*c == ' ' || *c == '\t' || *c == '\n' || *c == '\r') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += *c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: pmconv <job file>\n");
        return 2;
    }
    FILE* jobs = fopen(WinPath(argv[1]).c_str(), "r");
    if (!jobs) {
        fprintf(stderr, "pmconv: cannot open %s\n", argv[1]);
        return 2;
    }
    char line[4096];
    while (fgets(line, sizeof line, jobs)) {
        std::vector<std::string> words = Split(line);
        if (words.empty()) continue;
        try {
            RunJob(words);
            printf("ok\n");
        } catch (EInvalidImage& e) {
            printf("error EInvalidImage %s\n", e.Detail.c_str());
        } catch (EOutOfMemory& e) {
            printf("error EOutOfMemory %s\n", e.Message.c_str());
        } catch (EReadError& e) {
            printf("error EReadError %s\n", e.Message.c_str());
        } catch (EWriteError& e) {
            printf("error EWriteError %s\n", e.Message.c_str());
        } catch (EFOpenError& e) {
            printf("error EFOpenError %s\n", e.Message.c_str());
        } catch (EFCreateError& e) {
            printf("error EFCreateError %s\n", e.Message.c_str());
        } catch (Exception& e) {
            printf("error Exception %s\n", e.Message.c_str());
        }
        fflush(stdout);
    }
    fclose(jobs);
    return 0;
}

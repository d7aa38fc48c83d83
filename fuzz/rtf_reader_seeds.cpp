// The RTF reader's seed corpus: the hand-written samples of other programs' RTF, what the writer
// makes of the sample documents, and a few shapes of damage.

#include "fuzz/seed_corpus.h"
#include "rtf/rtf.h"
#include "tests/rtf/rtf_samples.h"

#include <QGuiApplication>
#include <QTextDocument>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv); // the writer asks the document for its default font

    std::vector<fuzzseeds::Seed> seeds;
    for (const auto& sample : rtfsamples::foreignSamples())
        seeds.emplace_back(std::string("foreign-") + sample.name + ".rtf",
                           sample.rtf.toStdString());
    QTextDocument showcase;
    rtfsamples::fillShowcase(showcase);
    seeds.emplace_back("showcase.rtf", rtf::write(showcase).toStdString());
    QTextDocument mixed;
    rtfsamples::fillMixed(mixed, 800);
    seeds.emplace_back("mixed.rtf", rtf::write(mixed).toStdString());
    seeds.emplace_back("deep.rtf",
                       "{\\rtf1 a" + std::string(300, '{') + "b" + std::string(300, '}'));
    seeds.emplace_back("bin.rtf", "{\\rtf1{\\pict\\bin6 }{\\'{}x}\\uc2\\u-10179\\'3f?\\u-8704??}");
    return fuzzseeds::writeSeeds(argc, argv, seeds);
}

// The chat view's costs: one chat line written into views of 10 to 1600
// lines (a full view, where each write also removes the oldest lines), the
// view taking 50 lines at a time as in a busy chat, and saving a 1600-line
// transcript.
//   chatview_bench
#include "BenchSeams.h"
#include "TForm4.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

constexpr int kRounds = 40;
constexpr int kWritesPerRound = 50;

// The mean time of one write into a view that holds about `viewLines`: the
// view is filled to that size, then written into 50 times, 40 times over.
double MicrosecondsPerWrite(TForm4 &main, int viewLines)
{
    QElapsedTimer clock;
    qint64 spent = 0;
    for (int round = 0; round < kRounds; ++round) {
        main.clearChatView();
        while (main.chatLineCount() < viewLines)
            main.AddChatLine(QStringLiteral("3<Ann> filling the view"));
        QCoreApplication::processEvents();
        clock.start();
        for (int write = 0; write < kWritesPerRound; ++write)
            main.AddChatLine(QStringLiteral("3<Ann> a chat line of an ordinary length, about fifty characters"));
        main.showPendingChatLines();
        spent += clock.nsecsElapsed();
    }
    return double(spent) / (kRounds * kWritesPerRound) / 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    BenchProgram bench;
    VanuProgram &program = bench.program;
    TForm4 &main = *program.windows.Form4;
    program.start();

    const double small = MicrosecondsPerWrite(main, 10);
    const double hundred = MicrosecondsPerWrite(main, 100);
    const double eightHundred = MicrosecondsPerWrite(main, 800);
    const double full = MicrosecondsPerWrite(main, TForm4::kMaxChatLines);

    main.clearChatView();
    while (main.chatLineCount() < TForm4::kMaxChatLines)
        main.AddChatLine(QStringLiteral("3<Ann> a line of the transcript"));
    bench.prompts.savePath = bench.folder.filePath(QStringLiteral("transcript.txt"));
    QElapsedTimer clock;
    constexpr int kSaves = 20;
    clock.start();
    for (int save = 0; save < kSaves; ++save)
        main.SaveAs1Click();
    const double saveMs = double(clock.nsecsElapsed()) / kSaves / 1e6;

    std::printf("| measure | value |\n|---|---|\n");
    std::printf("| AddChatLine, view of 10 lines | %.1f us |\n", small);
    std::printf("| AddChatLine, view of 100 lines | %.1f us |\n", hundred);
    std::printf("| AddChatLine, view of 800 lines | %.1f us |\n", eightHundred);
    std::printf("| AddChatLine, view of 1600 lines (the oldest lines go) | %.1f us |\n", full);
    std::printf("| ratio 1600/10 | %.2f |\n", full / small);
    std::printf("| save a 1600-line transcript | %.2f ms |\n", saveMs);
    return 0;
}

#pragma once

#include <QtGlobal>

#include <benchmark/benchmark.h>

// The entries' diagnostic lines would drown the figures: the benchmarks run
// with the message channel silenced.
#define FTP_BENCHMARK_MAIN()                                                                                           \
    int main(int iArgc, char **ppArgv)                                                                                 \
    {                                                                                                                  \
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});                        \
        benchmark::Initialize(&iArgc, ppArgv);                                                                         \
        benchmark::RunSpecifiedBenchmarks();                                                                           \
        benchmark::Shutdown();                                                                                         \
        return 0;                                                                                                      \
    }

// The time to build and show a consultation page of 25 lines with 60 input fields, and the
// time to build and show the main window with its menus and toolbar, on Qt's offscreen
// platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>
#include <optional>

#include "forms/consultation_form.h"
#include "shell/main_window.h"
#include "tests/shell/fake_desktop.h"
#include "tests/ui/fact_fixture.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/page_view.h"

namespace kelvo {
namespace {

/// 25 body lines; lines 1 to 20 hold three input fields each (60 in all), the rest text.
PageRequest BusyPage(FactFixture& facts) {
    PageRequest page;
    for (std::string& line : page.formPage) {
        line.assign(80, ' ');
    }
    page.formPage[0].replace(0, 22, "Fragebogen mit Feldern");
    int field = 0;
    for (int line = 1; line <= 25; ++line) {
        std::string& text = page.formPage[static_cast<std::size_t>(line)];
        if (line > 20) {
            text.replace(0, 40, "Ein Hinweis ohne Felder auf dieser Zeile");
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            const std::string name = "FELD" + std::to_string(++field);
            const std::string description = "]" + name + std::string(18 - name.size(), ' ') + "]";
            text.replace(static_cast<std::size_t>(6 + 25 * k), 5, "Wert:");
            text.replace(static_cast<std::size_t>(12 + 25 * k), description.size(), description);
            facts.Set(name, "Antwort " + std::to_string(field));
        }
    }
    return page;
}

void ShowPage(benchmark::State& state) {
    FactFixture facts;
    const PageRequest page = BusyPage(facts);
    FormEnvironment environment;
    environment.findFile = [](std::string_view) { return std::string(); };
    environment.pictureLoads = [](const std::string&) { return false; };
    environment.reportButtonPicture = [] {};
    for (auto _ : state) {
        TForm6 model(page, facts.facts_, environment);
        PageView view(model, nullptr, nullptr);
        view.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(view.component(Pool::Edit, 60));
        view.hide();
    }
}
BENCHMARK(ShowPage)->Unit(benchmark::kMillisecond);

void ShowMainWindow(benchmark::State& state) {
    FakeDesktop desktop;
    ShellServices services = desktop.Services();
    ShellConfig config;
    for (auto _ : state) {
        TForm1 model(config, services);
        model.FormCreate();
        MainWindowView view(model);
        view.PlaceFromModel();
        view.Refresh();
        view.show();
        QApplication::processEvents();
        view.hide();
    }
}
BENCHMARK(ShowMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvo

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

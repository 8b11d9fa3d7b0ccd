// The library as another library meets it: loaded by name at run time, with
// the configuration and software card files delivered beside the program.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <string>

namespace {

class DeliveredLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("LINECARD_DIR");
        unsetenv("PANELPICK_HOME");
        // By its file name in the program's folder: under the sanitizers the
        // dlopen caller is their runtime, whose search path is not the program's.
        std::string path =
            std::filesystem::read_symlink("/proc/self/exe").parent_path() / "liblinecard.so";
        handle_ = dlopen(path.c_str(), RTLD_NOW);
        ASSERT_NE(handle_, nullptr) << dlerror();
    }
    void TearDown() override {
        if (handle_)
            dlclose(handle_);
    }
    template <typename Function> Function find(const char* name) {
        void* symbol = dlsym(handle_, name);
        EXPECT_NE(symbol, nullptr) << name;
        return reinterpret_cast<Function>(symbol);
    }
    void* handle_ = nullptr;
};

TEST_F(DeliveredLibrary, ExportsWhatTheSpeechLibraryBinds) {
    for (const char* name :
         {"CheckValidCh", "PUSH_PLAY", "StartPlay", "StopPlay", "CheckPlayEnd", "StopPlayFile",
          "ForTTS_GetTTSChnlNum", "ForTTS_GetVar", "ForTTS_IsTTSCard", "ForTTS_StartPlay",
          "StartPlayMem", "SendToBuff", "LoadDRV", "EnableCard", "DisableCard", "FreeDRV"})
        EXPECT_NE(dlsym(handle_, name), nullptr) << name;
}

TEST_F(DeliveredLibrary, StartsTheDeliveredCardAndReportsItEnabled) {
    using Call = int32_t (*)();
    using Enable = int32_t (*)(int32_t, int32_t);
    using GetVar = int32_t (*)(int16_t*, int32_t*);
    auto loadDrv = find<Call>("LoadDRV");
    auto enableCard = find<Enable>("EnableCard");
    auto getVar = find<GetVar>("ForTTS_GetVar");
    ASSERT_TRUE(loadDrv && enableCard && getVar);
    int16_t enabled = -1;
    getVar(&enabled, nullptr);
    EXPECT_EQ(enabled, 0);
    ASSERT_EQ(loadDrv(), 0) << "LINECARD-V.INI and SOFTCARD.INI beside the program";
    ASSERT_EQ(enableCard(8, 16384), 0);
    getVar(&enabled, nullptr);
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(find<Call>("CheckValidCh")(), 8);
    EXPECT_EQ(find<Call>("ForTTS_IsTTSCard")(), 1);
    EXPECT_EQ(find<Call>("ForTTS_GetTTSChnlNum")(), 8);
    find<Call>("DisableCard")();
    find<Call>("FreeDRV")();
}

} // namespace

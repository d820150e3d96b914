// The shared test tree and a search helper over it.
#pragma once

#include "index_harness.h"

#include <gtest/gtest.h>

#include <set>

class EsTree : public testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    // A fixture with a tree of its own calls this once the tree is made.
    static void StartIndexWhenAsked();
    void SetUp() override;
    void TearDown() override;

    // Runs es over the tree with the given arguments plus an export to out.csv.
    EsRun Run(std::vector<std::string> args);
    // The exported names, relative to the tree's root, in file order.
    std::vector<std::string> Search(const std::vector<std::string>& args);
    std::set<std::string> Found(const std::vector<std::string>& args);
    std::string Rel(const std::string& shown) const;

    // With LUMAFIND_ES_TEST_INDEX set, every search on the tree must go through a running
    // index (es fails rather than walk); without it, es walks.
    static bool throughIndex;
    static IndexPlace place;
    static pid_t indexPid;
    static std::string root; // the tree, a Linux path
    static long long base; // modification time of the first file; each next file is a minute newer
    std::string work;      // working folder of the run
};

#include "core/PlaylistCtrl.h"

#include "tests/core/PlaylistTestEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace sonavel {
namespace {

// The GUI thread edits while the playback thread looks up entries, marks them and moves the
// position; every view the reader takes under the lock must satisfy the store's invariants.
TEST(PlaylistConcurrencyTest, EditingAndPlaybackThreadsShareTheStore)
{
    auto store = std::make_shared<CPlaylistCtrlImpl>();
    CPlaylistCtrl playlist(store);
    for (int32_t i = 0; i < 8; ++i) {
        store->InsertAt(test::NamedEntry(i % 10), i);
    }
    std::atomic<bool> done{false};
    std::atomic<int32_t> violations{0};

    std::thread reader([&] {
        while (!done.load()) {
            // Single operations, each relying on the store's own locking.
            MusicTrackInfo entry;
            store->GetEntry(playlist.GetCurrentEntry(), &entry);
            store->MarkPlayed(store->GetNextEntry());
            playlist.SetPosition(playlist.GetPosition() + 1);
            store->GetElapsedBefore();
            if (store->AllPlayed()) {
                store->ClearPlayed();
            }
            // A consistent view across several operations, under the caller's lock.
            const auto lock = store->Lock();
            auto order = store->GetOrder();
            violations += static_cast<int32_t>(order.size()) != playlist.GetEntryCount() ? 1 : 0;
            std::sort(order.begin(), order.end());
            for (int32_t k = 0; k < static_cast<int32_t>(order.size()); ++k) {
                violations += order[k] != k ? 1 : 0;
            }
        }
    });

    for (int32_t round = 0; round < 400; ++round) {
        store->InsertAt(test::NamedEntry(round % 10), round % (store->GetEntryCount() + 1));
        const std::vector<int32_t> rows{0, 2};
        store->Move(rows, store->GetEntryCount());
        if (round % 50 == 0) {
            playlist.SetShuffleFree(round % 100 == 0);
        }
        store->Remove(round % store->GetEntryCount());
        const auto lock = store->Lock();
        store->SetModified(true);
    }
    done = true;
    reader.join();

    EXPECT_EQ(violations.load(), 0);
    EXPECT_EQ(playlist.GetEntryCount(), 8);
}

} // namespace
} // namespace sonavel

// The live records of one kind (GDI objects, device contexts) in an intrusive
// circular doubly-linked list, so that creating and deleting one is O(1) and
// a reset can free every record still live.  Freed records go to a bounded
// list of spares: the next creation reuses one instead of allocating, and a
// handle deleted twice most likely finds its record there with alive false.
#pragma once

#include <cstddef>

#include "raster/device_context.h"

namespace win::raster {

// Record needs: bool alive; LiveLink live; and a default state that owns no
// memory beyond the record itself.  The list heads are plain nodes, so the
// lists stay intact (and their records reachable) until the process ends.
template <typename Record, std::size_t SPARE_LIMIT>
class LiveList {
  public:
    constexpr LiveList() : live_{&live_, &live_}, spare_{&spare_, &spare_} {}

    Record* acquire() {
        Record* record;
        if (spare_.next != &spare_) {
            record = owner_of(spare_.next);
            record->live.unlink();
            --spare_count_;
        } else {
            record = new Record;
            record->live.owner = record;
        }
        record->alive = true;
        insert(live_, record->live);
        return record;
    }

    // record must be alive and in this list.
    void release(Record* record) {
        record->live.unlink();
        if (spare_count_ >= SPARE_LIMIT) {
            delete record;
            return;
        }
        *record = Record{};  // drops what the record owned (bitmap pixels); alive is false
        insert(spare_, record->live);
        ++spare_count_;
    }

    Record* first() const { return live_.next == &live_ ? nullptr : owner_of(live_.next); }

    std::size_t live_count() const {
        std::size_t count = 0;
        for (const LiveNode* n = live_.next; n != &live_; n = n->next) ++count;
        return count;
    }

  private:
    static Record* owner_of(LiveNode* node) {
        return static_cast<Record*>(static_cast<LiveLink*>(node)->owner);
    }

    static void insert(LiveNode& head, LiveLink& link) {
        link.prev = &head;
        link.next = head.next;
        head.next->prev = &link;
        head.next = &link;
    }

    LiveNode live_;
    LiveNode spare_;
    std::size_t spare_count_ = 0;
};

}  // namespace win::raster

#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// A stable merge sort for orderings that need not be strict weak orders (the
// tab strip's "left of the neighbour's middle", the table's rows that lack a
// cell): an element moves before an earlier one only when `before` says so,
// and the sort never reads outside the list, whatever the comparison answers.
template <class T, class Before>
void StableMergeSort(std::vector<T>& items, Before before) {
    const size_t count = items.size();
    if (count < 2)
        return;
    std::vector<T> scratch;
    scratch.reserve(count);
    for (size_t width = 1; width < count; width *= 2) {
        for (size_t left = 0; left < count - width; left += 2 * width) {
            const size_t middle = left + width;
            const size_t right = middle + width < count ? middle + width : count;
            scratch.clear();
            size_t i = left;
            size_t j = middle;
            while (i < middle && j < right) {
                if (before(items[j], items[i]))
                    scratch.push_back(std::move(items[j++]));
                else
                    scratch.push_back(std::move(items[i++]));
            }
            while (i < middle)
                scratch.push_back(std::move(items[i++]));
            while (j < right)
                scratch.push_back(std::move(items[j++]));
            for (size_t k = 0; k < scratch.size(); ++k)
                items[left + k] = std::move(scratch[k]);
        }
    }
}

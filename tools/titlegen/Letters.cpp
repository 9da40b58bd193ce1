#include "Letters.h"

const SShape& letterShape(char c) {
    // Strokes are 3 units thick; outer corners are cut at 45 degrees where the letter is round.
    static const SShape b = {
        {{0, 0}, {8, 0}, {10, 2}, {10, 4.6f}, {8.8f, 6}, {10, 7.4f}, {10, 10}, {8, 12}, {0, 12}},
        {{3, 2.6f}, {6.6f, 2.6f}, {7, 3}, {7, 4.3f}, {6.6f, 4.7f}, {3, 4.7f}},
        {{3, 7.3f}, {6.6f, 7.3f}, {7, 7.7f}, {7, 9}, {6.6f, 9.4f}, {3, 9.4f}}};
    static const SShape o = {
        {{2, 0}, {8, 0}, {10, 2}, {10, 10}, {8, 12}, {2, 12}, {0, 10}, {0, 2}},
        {{3.6f, 3}, {6.4f, 3}, {7, 3.6f}, {7, 8.4f}, {6.4f, 9}, {3.6f, 9}, {3, 8.4f}, {3, 3.6f}}};
    static const SShape l = {{{0, 0}, {3, 0}, {3, 9}, {10, 9}, {10, 12}, {0, 12}}};
    static const SShape t = {
        {{0, 0}, {10, 0}, {10, 3}, {6.5f, 3}, {6.5f, 12}, {3.5f, 12}, {3.5f, 3}, {0, 3}}};
    static const SShape f = {{{0, 0},
                              {10, 0},
                              {10, 3},
                              {3, 3},
                              {3, 4.6f},
                              {8, 4.6f},
                              {8, 7.4f},
                              {3, 7.4f},
                              {3, 12},
                              {0, 12}}};
    static const SShape e = {{{0, 0},
                              {10, 0},
                              {10, 3},
                              {3, 3},
                              {3, 4.6f},
                              {8, 4.6f},
                              {8, 7.4f},
                              {3, 7.4f},
                              {3, 9},
                              {10, 9},
                              {10, 12},
                              {0, 12}}};
    static const SShape v = {
        {{0, 0}, {3.1f, 0}, {5, 7.6f}, {6.9f, 0}, {10, 0}, {6.6f, 12}, {3.4f, 12}}};
    static const SShape r = {
        {{0, 0},
         {8, 0},
         {10, 2},
         {10, 5.6f},
         {8.6f, 7},
         {10, 12},
         {6.8f, 12},
         {5.6f, 7.6f},
         {3, 7.6f},
         {3, 12},
         {0, 12}},
        {{3, 2.8f}, {6.6f, 2.8f}, {7, 3.2f}, {7, 4.4f}, {6.6f, 4.8f}, {3, 4.8f}}};
    static const SShape none;
    switch (c) {
        case 'B':
            return b;
        case 'E':
            return e;
        case 'F':
            return f;
        case 'L':
            return l;
        case 'O':
            return o;
        case 'R':
            return r;
        case 'T':
            return t;
        case 'V':
            return v;
        default:
            return none;
    }
}

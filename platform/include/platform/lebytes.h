// Little-endian numbers in byte buffers, as every binary format we write stores
// them (metafile records, bitmaps, spreadsheets, component and chart streams, GIF).
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

namespace LittleEndian {

// Into N bytes at P.
inline void Store(std::uint8_t* P, std::uint64_t V, int N) {
  for (int i = 0; i < N; ++i) P[i] = std::uint8_t(V >> (8 * i));
}
inline void Store16(std::uint8_t* P, std::uint16_t V) { Store(P, V, 2); }
inline void Store32(std::uint8_t* P, std::uint32_t V) { Store(P, V, 4); }
inline void Store64(std::uint8_t* P, std::uint64_t V) { Store(P, V, 8); }

// Appended to a byte container (a vector of bytes or a string).
template <class Buf>
void Put(Buf& B, std::uint64_t V, int N) {
  for (int i = 0; i < N; ++i) B.push_back(typename Buf::value_type(std::uint8_t(V >> (8 * i))));
}
template <class Buf>
void Put16(Buf& B, std::uint16_t V) { Put(B, V, 2); }
template <class Buf>
void Put32(Buf& B, std::uint32_t V) { Put(B, V, 4); }
template <class Buf>
void Put64(Buf& B, std::uint64_t V) { Put(B, V, 8); }
// Signed values in two's complement.
template <class Buf>
void PutInt16(Buf& B, std::int16_t V) { Put16(B, std::uint16_t(V)); }
template <class Buf>
void PutInt32(Buf& B, std::int32_t V) { Put32(B, std::uint32_t(V)); }
// IEEE single and double precision.
template <class Buf>
void PutFloat(Buf& B, float V) { Put32(B, std::bit_cast<std::uint32_t>(V)); }
template <class Buf>
void PutDouble(Buf& B, double V) { Put64(B, std::bit_cast<std::uint64_t>(V)); }

// Over bytes already in a buffer (sizes known only at the end).
template <class Buf>
void Set16(Buf& B, std::size_t At, std::uint16_t V) {
  for (int i = 0; i < 2; ++i) B[At + std::size_t(i)] = typename Buf::value_type(std::uint8_t(V >> (8 * i)));
}
template <class Buf>
void Set32(Buf& B, std::size_t At, std::uint32_t V) {
  for (int i = 0; i < 4; ++i) B[At + std::size_t(i)] = typename Buf::value_type(std::uint8_t(V >> (8 * i)));
}

}  // namespace LittleEndian

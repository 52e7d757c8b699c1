// The program speaks single-byte Windows-1252: its console and report bytes
// are decoded for display, and what the user types is encoded back to those
// bytes before it reaches the program's standard input.

const kDecoder = new TextDecoder('windows-1252');
const kUnrepresentable = 0x3f;  // '?', as a Windows console shows it

// Every character of the code page mapped to its byte, built from the
// browser's own decoder so no second copy of the table exists.
const kByteOf = new Map();
for (let byte = 0; byte < 256; byte++) {
  kByteOf.set(kDecoder.decode(Uint8Array.of(byte)), byte);
}

export function decode(bytes) {
  return kDecoder.decode(bytes);
}

// Characters outside the code page become '?'.
export function encode(text) {
  const bytes = [];
  for (const character of text) bytes.push(kByteOf.get(character) ?? kUnrepresentable);
  return Uint8Array.from(bytes);
}

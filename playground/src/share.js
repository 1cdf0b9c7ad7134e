// Share links: the program's files, compressed, in the link's #code=...
// (after the #, so the program never reaches a server).

function toBase64Url(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

async function through(stream, bytes) {
  const out = new Blob([bytes]).stream().pipeThrough(stream);
  return new Uint8Array(await new Response(out).arrayBuffer());
}

export async function encodeProject(files) {
  const json = JSON.stringify(files.map((f) => [f.name, f.text]));
  return toBase64Url(await through(new CompressionStream('deflate-raw'),
                                   new TextEncoder().encode(json)));
}

export async function decodeProject(code) {
  const json = new TextDecoder().decode(
      await through(new DecompressionStream('deflate-raw'), fromBase64Url(code)));
  const files = JSON.parse(json);
  if (!Array.isArray(files) || files.length === 0 ||
      !files.every((f) => Array.isArray(f) && typeof f[0] === 'string' && typeof f[1] === 'string')) {
    throw new Error('it holds no program');
  }
  return files.map(([name, text]) => ({name, text}));
}

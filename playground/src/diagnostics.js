// The compiler's and linker's messages, as the page lists them.

// clang's "src/main.c:12:5: error: ..." lines (the student's files are in
// src/ for the compiler); other lines stay in the full log.
const LOCATED = /^(?:src\/)?([^:\s][^:]*):(\d+):(\d+): (error|warning|note): (.*)$/;
// The linker's "wasm-ld: error: obj/main.o: undefined symbol: foo".
const LINKER = /^wasm-ld: error: (?:obj\/([^:]+)\.o: )?(.*)$/;

export function parseDiagnostics(log) {
  const list = [];
  for (const line of log.split('\n')) {
    let m = LOCATED.exec(line);
    if (m) {
      if (m[1].startsWith('kv390/')) continue;  // notes inside the library's headers
      list.push({file: m[1], line: Number(m[2]), column: Number(m[3]), severity: m[4],
                 message: m[5]});
      continue;
    }
    m = LINKER.exec(line);
    if (m) list.push({file: m[1] ? m[1] : 'link', line: 0, column: 0, severity: 'error', message: m[2]});
  }
  return list;
}

const EXCEPTIONS = /exceptions disabled|__cxa_throw|__cxa_begin_catch|__cxa_allocate_exception/;

// One line that says why the program was not built.
export function explainFailure(log, list) {
  if (EXCEPTIONS.test(log)) {
    return 'This program uses C++ exceptions (throw, try, catch), which programs in the ' +
           'playground cannot use: return an error value instead.';
  }
  const errors = list.filter((d) => d.severity === 'error').length;
  if (errors === 0) return 'The program was not built: ' + (log.trim().split('\n').pop() || 'no reason given');
  return `The program was not built: ${errors} error${errors === 1 ? '' : 's'} (listed below).`;
}

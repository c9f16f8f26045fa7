// Reads an ADIF file with the npm reader adif-parser-ts and prints what it read, in the form of
// read_adif.js: "header ok" and "record N ok" (or "file rejected: reason" when it gives up),
// each followed by one "  TAG=value" line per item in file order, tags in upper case. Bytes are
// read as Latin-1 so that a length counts bytes, and values are printed as the bytes read.
//   node read_adif_parser_ts.js <adif-parser-ts folder> <file.adi>
'use strict';

const fs = require('fs');
const [folder, file] = process.argv.slice(2);
const { AdifParser } = require(folder);

const print = (block) => {
  for (const [tag, value] of Object.entries(block)) {
    if (tag !== 'text') process.stdout.write(Buffer.from(`  ${tag.toUpperCase()}=${value}\n`, 'latin1'));
  }
};
let parsed;
try {
  parsed = AdifParser.parseAdi(fs.readFileSync(file).toString('latin1'));
} catch (e) {
  console.log(`file rejected: ${e.message}`);
  process.exit(0);
}
if (parsed.header) {
  console.log('header ok');
  print(parsed.header);
}
(parsed.records ?? []).forEach((record, i) => {
  console.log(`record ${i + 1} ok`);
  print(record);
});

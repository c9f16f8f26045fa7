// Reads an ADIF file with the strict reader tcadif and prints what it read, for the ADIF check:
// per header or record one verdict line ("header ok", "record 3 ok", or "record 3 rejected
// FIELD: reason"), then one "  TAG=value" line per item in file order. Bytes are read as Latin-1
// so that a length counts bytes, as ADIF counts them, and values are printed as the bytes read.
//   node read_adif.js <tcadif folder> <file.adi>
'use strict';

const fs = require('fs');
const [tcadif, file] = process.argv.slice(2);
const Field = require(`${tcadif}/lib/Field`);
const Header = require(`${tcadif}/lib/Header`);
const QSO = require(`${tcadif}/lib/QSO`);

let text = fs.readFileSync(file).toString('latin1');
let items = [];
let records = 0;
for (;;) {
  const field = Field.parse(text);
  if (field === null) break;
  text = text.slice(field.bytesConsumed);
  if (field.fieldName !== 'EOH' && field.fieldName !== 'EOR') {
    items.push(field);
    continue;
  }
  const block = Object.fromEntries(items.map(item => item.toEntry()));
  let verdict = 'ok';
  try {
    if (field.fieldName === 'EOH') new Header(block); else new QSO(block);
  } catch (e) {
    verdict = `rejected ${e.field ?? ''}: ${e.message}`;
  }
  console.log(`${field.fieldName === 'EOH' ? 'header' : `record ${++records}`} ${verdict}`);
  for (const item of items) process.stdout.write(Buffer.from(`  ${item.fieldName}=${item.data ?? ''}\n`, 'latin1'));
  items = [];
}

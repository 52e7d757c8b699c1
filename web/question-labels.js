// A short Portuguese label for each question of the dialogue, shown in
// Respostas beside the program's own text (several of its questions read
// alike), and whether its answer is a number (the phone then offers the
// decimal keypad). Matched on the question's text as the screen shows it.

const kQuestions = [
  [/nome do arquivo de saida/i, 'Nome do relatório (nome.txt)', false],
  [/fck requerido/i, 'fck (MPa)', true],
  [/^digite o número da opcao desejada$/, 'Nível de controle (4 / 5,5 / 7)', true],
  [/abatimento \(cm\)/i, 'Abatimento (cm)', true],
  [/diametro maximo do agregado/i, 'Diâmetro máximo do agregado (mm)', true],
  [/^digite o valor da opcao desejada$/, 'Fator de forma (0,9 / 1 / 1,05)', true],
  [/^Digite o numero da opcao desejada$/, 'Caminho da relação a/c (1 tabela / 2 outro valor)', true],
  [/cimento cp|^digite o numero da opcao desejada$/, 'Classe do cimento (1 CP25 / 2 CP32 / 3 CP40)', true],
  [/usar este valor/i, 'Usar a relação a/c sugerida (1 sim / 2 outro valor)', true],
  [/relacao a\/c|fator agua\/cimento|novo valor/i, 'Relação a/c', true],
  [/ar incorporado/i, 'Ar incorporado (1 não / 2 sim)', true],
  [/granulometrias diferentes/i, 'Quantidade de britas', true],
  [/% do agregado correspondente a brita (\d+)/i, 'Brita $1 (% do agregado)', true],
  [/massa unitaria da areia/i, 'Massa unitária da areia (kg/dm³)', true],
  [/massa unitaria da brita (\d+)/i, 'Massa unitária da brita $1 (kg/dm³)', true],
];

// {label, numeric} for a question's text; label null for a text not known.
export function questionLabel(question) {
  for (const [pattern, label, numeric] of kQuestions) {
    const match = pattern.exec(question ?? '');
    if (match) return { label: label.replace('$1', match[1]), numeric };
  }
  return { label: null, numeric: false };
}

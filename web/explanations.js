// The page's words under the program's own error report: for each error the
// dialogue can meet, keyed by the number the report shows, one sentence in
// Portuguese on what went wrong and what to type instead. The report's own
// lines stay as the program wrote them.

const kBack = 'Use Voltar e';
const kName = 'Use Voltar até o nome do relatório e digite um nome simples, só com letras, algarismos e ponto (por exemplo rel.txt).';
const kDivisor = 'uma resposta que entra no cálculo como divisor é zero: o diâmetro máximo do agregado, a relação a/c ou uma massa unitária. Um número enviado com vírgula decimal (0,55) é lido só até a vírgula: 0.';

const kExplanations = new Map([
  ['F6100', `O número inteiro digitado é grande demais. ${kBack} digite o número da opção, como 1 ou 2.`],
  ['F6101', `Esta pergunta espera um número inteiro, sem ponto, vírgula nem letras. ${kBack} digite só os algarismos, como 1 ou 2.`],
  ['F6102', `O número digitado é grande demais para o programa. ${kBack} digite o valor na unidade que a pergunta pede.`],
  ['F6103', `A resposta não é um número que o programa leia. ${kBack} digite só o número, com ponto decimal (1.4, não 1,4), sem unidade nem letras.`],
  ['F6104', `O número digitado passa do maior valor que o programa guarda. ${kBack} digite o valor na unidade que a pergunta pede.`],
  ['F6302', `Um número inteiro pode ter um só sinal #. ${kBack} digite só os algarismos.`],
  ['F6303', `A base antes do sinal # precisa ficar entre 2 e 36. ${kBack} digite o número em decimal, só com algarismos.`],
  ['F6407', `A linha digitada é longa demais (o programa lê até 130 caracteres). ${kBack} digite uma resposta mais curta.`],
  ['F6500', `O programa não conseguiu ler a resposta. ${kBack} envie a resposta de novo.`],
  ['F6501', `As respostas acabaram antes do que o programa pede (um caractere Ctrl-Z numa resposta também as encerra). ${kBack} dê a resposta que falta, sem Ctrl-Z.`],
  ['F6502', `O número antes do asterisco (repetição) não pode ser zero. ${kBack} digite o valor sem asterisco.`],
  ['F6503', `Uma resposta pode ter um só asterisco. ${kBack} digite o valor sem asterisco.`],
  ['F6504', `Esta pergunta espera um número, não um texto entre aspas nem um par entre parênteses. ${kBack} digite só o número.`],
  ['F6412', `O nome do relatório não serve como nome de arquivo. ${kName}`],
  ['F6413', `O arquivo do relatório já está em uso. ${kName}`],
  ['F6414', `O acesso ao arquivo do relatório foi negado. ${kName}`],
  ['F6415', `Já existe um arquivo com o nome do relatório. ${kName}`],
  ['F6416', `O nome aponta para uma pasta que não existe (uma barra no nome indica uma pasta). ${kName}`],
  ['F6417', `Há arquivos demais abertos. ${kName}`],
  ['F6418', `Há arquivos demais abertos. ${kName}`],
  ['F6419', `O arquivo do relatório não pôde ser aberto. ${kName}`],
  ['F6421', `O relatório não pôde ser gravado com esse nome. ${kName}`],
  ['F6422', 'Não há espaço para gravar o relatório. Recarregue a página e tente de novo.'],
  ['F6423', 'A gravação do relatório falhou. Recarregue a página e tente de novo.'],
  ['F6700', 'Faltou memória ao programa. Recarregue a página e tente de novo.'],
  ['M6101', `Uma conta sem resultado (como zero dividido por zero) parou o cálculo: ${kDivisor} ${kBack} digite um valor maior que zero.`],
  ['M6103', `Uma divisão por zero parou o cálculo: ${kDivisor} ${kBack} digite um valor maior que zero.`],
  ['M6104', `Um resultado ficou grande demais para o programa: alguma resposta é grande ou pequena demais. ${kBack} digite os valores nas unidades que as perguntas pedem.`],
  ['M6201', `O abatimento ou o diâmetro máximo do agregado é negativo, e o cálculo da água não aceita valor negativo. ${kBack} digite um valor positivo.`],
  ['M6202', `O abatimento ou o diâmetro máximo do agregado deu uma conta sem resultado. ${kBack} digite um valor positivo.`],
  ['M6203', `A água calculada ficou grande demais: o abatimento ou o diâmetro máximo é grande demais. ${kBack} digite o valor em cm ou em mm, como a pergunta pede.`],
  ['M6205', `O abatimento ou o diâmetro máximo do agregado é grande demais para o cálculo da água. ${kBack} digite o valor em cm ou em mm, como a pergunta pede.`],
]);

const kOtherError = `O programa parou com o erro acima. ${kBack} confira a última resposta.`;

// The error's number as the report shows it ("F6103"), or null.
export function errorNumber(errorText) {
  return /run-time error ([FM]\d{4})/.exec(errorText)?.[1] ?? null;
}

export function explanationOf(errorText) {
  return kExplanations.get(errorNumber(errorText)) ?? kOtherError;
}
